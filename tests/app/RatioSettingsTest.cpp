// The settings button: ask for a ratio list, ignore an unchanged answer,
// refuse characters outside the allowed set, otherwise apply and store.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/MainForm.h"
#include "chart/BarSeries.h"
#include "calc/RatioList.h"

namespace tavimo::app::test {
namespace {

const std::string kDefault(DefaultRatioText);

class RatioSettingsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
    Form().show();
  }
  void ClickSettings() { QTest::mouseClick(Form().Button(11), Qt::LeftButton); }
  std::string StoredText() { return ReadFile(SettingsPath()); }
};

TEST_F(RatioSettingsTest, DialogStartsFromTheListInEffect) {
  Prompter().AnswerOk("0.5,1/3");
  ClickSettings();
  Prompter().AnswerOk("0.5 refused");
  ClickSettings();
  Prompter().AnswerCancel();
  ClickSettings();
  EXPECT_EQ(Prompter().askedInitialTexts, (std::vector<std::string>{kDefault, "0.5,1/3", "0.5,1/3"}));
  // At start the list in effect is the stored one.
  windows_ = {};
  CreateTheWindows();
  Prompter().AnswerCancel();
  ClickSettings();
  EXPECT_EQ(Prompter().askedInitialTexts.back(), "0.5,1/3");
}

TEST_F(RatioSettingsTest, CancelAndUnchangedOkChangeNothing) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  const std::vector<double> values = BarValues();
  Prompter().AnswerCancel();
  ClickSettings();
  Prompter().AnswerOk(kDefault);
  ClickSettings();
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_EQ(BarValues(), values);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
}

TEST_F(RatioSettingsTest, NewListIsAppliedAtOnceAndStoredAsTyped) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  Prompter().AnswerOk("0.5,1/3");
  ClickSettings();
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"0.5", "1/3"}));
  EXPECT_EQ(BarValues(), (std::vector<double>{0.0, 0.0}));
  EXPECT_EQ(CurrentRatioList(), (RatioList{"0.5", "1/3"}));
  EXPECT_NE(StoredText().find("num=0.5,1/3"), std::string::npos) << StoredText();
  // The price boxes keep their texts, and computing uses the new list.
  EXPECT_EQ(Form().Edit1()->text(), "10");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  ASSERT_EQ(BarValues().size(), 2u);
  EXPECT_NEAR(BarValues()[0], 15.0, 1e-12);
  EXPECT_NEAR(BarValues()[1], 13.333333333333334, 1e-12);
}

TEST_F(RatioSettingsTest, UnchangedOkKeepsTheLevelsAndTheDefaultTextRestoresTheDefaultList) {
  Prompter().AnswerOk("0.5,1/3");
  ClickSettings();
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  Prompter().AnswerOk("0.5,1/3");
  ClickSettings();
  EXPECT_EQ(BarValues()[0], 15.0);

  Prompter().AnswerOk(kDefault);
  ClickSettings();
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_EQ(BarLabels().size(), 16u);
  EXPECT_EQ(BarValues(), std::vector<double>(16, 0.0));
  EXPECT_EQ(CurrentRatioList(), SplitRatioText(kDefault));
  EXPECT_NE(StoredText().find("num=" + kDefault), std::string::npos) << StoredText();
}

// Which bytes the check refuses is its own test's table (tests/regex); here the
// window consults it and refuses the whole text.
TEST_F(RatioSettingsTest, TextsWithForbiddenCharactersAreRefused) {
  const char* refused[] = {"0.5, 0.6", "0.5，0.6"};
  for (const char* text : refused) {
    SCOPED_TRACE(text);
    Prompter().messages.clear();
    Prompter().AnswerOk(text);
    ClickSettings();
    ASSERT_EQ(Prompter().messages.size(), 1u);
    EXPECT_EQ(Prompter().messages[0].text, "所输数据有错误，请重新设置");
    EXPECT_EQ(Prompter().messages[0].caption, "Tavimo");
    EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::None);
    EXPECT_EQ(BarLabels().size(), 16u);
    EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  }
}

TEST_F(RatioSettingsTest, CaretPassesTheCheckAndFailsOnlyWhenComputing) {
  Prompter().AnswerOk("0.5^");
  ClickSettings();
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"0.5^"}));
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "'0.5^' is not a valid floating point value.");
}

TEST_F(RatioSettingsTest, EmptyTextLeavesNoBarsAndStoresAnEmptyValue) {
  Prompter().AnswerOk("");
  ClickSettings();
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_EQ(Form().Series1().PointCount(), 0);
  EXPECT_NE(StoredText().find("num="), std::string::npos);
  EXPECT_EQ(StoredText().find("num=0"), std::string::npos);
  // Computing with no bars still checks the boxes, and does nothing else.
  Form().Edit1()->setText("");
  QTest::mouseClick(Form().Button(2), Qt::LeftButton);
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "请输入低点数据！");
  // The next start falls back to the default list.
  windows_ = {};
  CreateTheWindows();
  EXPECT_EQ(BarLabels().size(), 16u);
}


TEST_F(RatioSettingsTest, ASettingsFileThatCannotBeReadIsReportedOnceAtStartAndLeftAlone) {
  windows_ = {};
  std::filesystem::create_directory(temp_.Path() / "folder.ini");
  settingsPath_ = (temp_.Path() / "folder.ini").string();
  CreateTheWindows();
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_NE(Prompter().messages[0].text.find(settingsPath_), std::string::npos);
  EXPECT_NE(Prompter().messages[0].text.find("Is a directory"), std::string::npos);
  EXPECT_EQ(BarLabels().size(), 16u);
  Prompter().AnswerOk("0.5,1/3");
  ClickSettings();
  EXPECT_TRUE(std::filesystem::is_directory(settingsPath_));
}

TEST_F(RatioSettingsTest, ARatioTextLongerThanAValueHoldsIsRefusedAndNothingChanges) {
  Prompter().AnswerOk("0.5," + std::string(2044, '1'));
  ClickSettings();
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "Ratio list text longer than 2047 bytes.");
  EXPECT_EQ(BarLabels().size(), 16u);
  EXPECT_EQ(ReadFile(SettingsPath()).find("num="), std::string::npos);
}

TEST_F(RatioSettingsTest, FailedSaveIsReportedAndTheNewListStays) {
  // A settings path under a plain file: its directory can never be made.
  windows_ = {};
  WriteFile(temp_.Path() / "blocker", "not a folder");
  settingsPath_ = (temp_.Path() / "blocker" / "data.ini").string();
  CreateTheWindows();
  Form().show();
  Prompter().AnswerOk("0.5,1/3");
  ClickSettings();
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "Unable to write to " + settingsPath_ + ".");
  EXPECT_EQ(Prompter().messages[0].caption, "Tavimo");
  EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
  EXPECT_EQ(BarLabels(), (std::vector<std::string>{"0.5", "1/3"}));
  EXPECT_EQ(CurrentRatioList(), (RatioList{"0.5", "1/3"}));
  EXPECT_TRUE(Form().isVisible());
}

}  // namespace
}  // namespace tavimo::app::test
