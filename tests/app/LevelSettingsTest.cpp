// The chart menu's level settings: the price tick (asked for, stored only
// while set, refused when invalid, shown in the marks and copied as
// tavimo-cli prints it) and the log scale (greyed out for rise and decline).

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/MainForm.h"
#include "calc/ComputeCommand.h"
#include "calc/LevelScale.h"
#include "calc/PriceTick.h"
#include "settings/SettingsFile.h"
#include "chart/BarSeries.h"
#include "chart/SeriesMarks.h"

namespace tavimo::app::test {
namespace {

class LevelSettingsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
    Form().show();
  }
  void Compute(int button, const char* low, const char* high) {
    Form().Edit1()->setText(low);
    Form().Edit2()->setText(high);
    QTest::mouseClick(Form().Button(button), Qt::LeftButton);
  }
  void SetTick(std::optional<std::string> answer) {
    Prompter().Answer(std::move(answer));
    Form().PriceTickAction()->trigger();
  }
  std::vector<std::string> Marks() { return Form().Series1().Marks().PointTexts(); }
  std::string CopiedText() {
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(Form().Edit2(), Qt::Key_C, Qt::ControlModifier);
    return QGuiApplication::clipboard()->text().toStdString();
  }
};

TEST_F(LevelSettingsTest, TickRoundsTheMarksAndTheBarsAndCtrlCCopiesTheTickedRows) {
  Compute(4, "10", "20.3");
  SetTick("0.05");
  ASSERT_TRUE(Prompter().messages.empty()) << Prompter().messages[0].text;
  EXPECT_EQ(Prompter().offeredTexts, (std::vector<std::string>{""}));
  EXPECT_EQ(ReadLevelSettings(settingsPath_).tickText, "0.05");
  // The shown levels took the tick at once: 0.382 of 10 to 20.3 is 13.9346.
  const std::vector<std::string> ratios = BarLabels();
  const auto at = [&](const std::string& ratio) {
    return static_cast<std::size_t>(std::find(ratios.begin(), ratios.end(), ratio) - ratios.begin());
  };
  ASSERT_EQ(Marks().size(), ratios.size());
  EXPECT_EQ(Marks()[at("0.382")], "13.95");
  EXPECT_DOUBLE_EQ(BarValues()[at("0.382")], 13.95);

  const PriceTick tick("0.05");
  const std::string expected =
      FormatLevelRows(OutputFormat::Text,
                      MakeLevelRows(CurrentRatioList(), RunCompute(ComputeMode::Resistance, "10", "20.3",
                                                                   CurrentRatioList()).levels,
                                    &tick, TickRounding::Nearest));
  EXPECT_EQ(CopiedText(), expected);
  EXPECT_NE(expected.find("0.382\t13.95\n"), std::string::npos) << expected;
  EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->html().contains("<td>13.95</td>"));

  // The dialog offers the tick in effect; a new one is applied at once.
  SetTick("0.1");
  EXPECT_EQ(Prompter().offeredTexts.back(), "0.05");
  EXPECT_EQ(Marks()[at("0.382")], "13.9");
  // The next computation is ticked too.
  Compute(5, "10", "20");
  EXPECT_EQ(Marks()[at("0.382")], "16.2");
}

TEST_F(LevelSettingsTest, EmptyTickRemovesTheStoredKeyAndRestoresPlainMarks) {
  windows_ = {};
  WriteFile(SettingsPath(), "[tvmo]\ntick=0.01\n");
  CreateTheWindows();
  Form().show();
  Compute(4, "10", "20");
  const std::vector<double> ticked = BarValues();
  SetTick("  ");
  EXPECT_EQ(Prompter().offeredTexts, (std::vector<std::string>{"0.01"}));
  EXPECT_EQ(ReadFile(SettingsPath()).find("tick"), std::string::npos) << ReadFile(SettingsPath());
  EXPECT_TRUE(Marks().empty());
  EXPECT_EQ(BarValues(), RunCompute(ComputeMode::Resistance, "10", "20", CurrentRatioList()).levels);
  EXPECT_NE(BarValues(), ticked);
}

TEST_F(LevelSettingsTest, InvalidOrTooCoarseTickIsReportedAndNothingIsStored) {
  SetTick("abc");
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "Invalid tick 'abc'.");
  EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  EXPECT_TRUE(Form().Levels().tickText.empty());

  // A tick the shown levels cannot be rounded to leaves them and the file alone.
  Compute(4, "1e300", "2e300");
  const std::vector<double> shown = BarValues();
  SetTick("1e-300");
  ASSERT_EQ(Prompter().messages.size(), 2u);
  EXPECT_EQ(Prompter().messages[1].text, "Level too large for tick 1e-300.");
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  EXPECT_EQ(BarValues(), shown);
  EXPECT_TRUE(Marks().empty());
}

TEST_F(LevelSettingsTest, LogScaleIsGreyedOutForRiseAndDeclineAndAppliesAtOnce) {
  QAction* log = Form().LogScaleAction();
  EXPECT_TRUE(log->isEnabled());
  EXPECT_FALSE(log->isChecked());
  Compute(2, "10", "20");
  EXPECT_FALSE(log->isEnabled());
  Compute(3, "10", "20");
  EXPECT_FALSE(log->isEnabled());
  Compute(4, "10", "20");
  EXPECT_TRUE(log->isEnabled());

  log->trigger();
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_TRUE(log->isChecked());
  EXPECT_EQ(ReadLevelSettings(settingsPath_).scale, LevelScale::Log);
  EXPECT_EQ(BarValues(),
            RunCompute(ComputeRequest{ComputeMode::Resistance, "10", "20", {}, LevelScale::Log}, CurrentRatioList())
                .levels);
  // Rise stays linear under it.
  Compute(2, "10", "20");
  EXPECT_EQ(BarValues(), RunCompute(ComputeMode::Rise, "10", "20", CurrentRatioList()).levels);
  EXPECT_TRUE(log->isChecked());

  // Prices at or below zero cannot be shown on a log scale.
  Compute(4, "10", "20");
  Compute(5, "0", "20");
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, std::string(kLogScalePricesMessage));
  log->trigger();
  EXPECT_FALSE(log->isChecked());
  EXPECT_EQ(ReadFile(SettingsPath()).find("scale"), std::string::npos);
}

TEST_F(LevelSettingsTest, FailedSaveIsReportedAndKeepsTheOldSetting) {
  windows_ = {};
  WriteFile(temp_.Path() / "blocker", "not a folder");
  settingsPath_ = (temp_.Path() / "blocker" / "data.ini").string();
  CreateTheWindows();
  Form().show();
  Form().LogScaleAction()->trigger();
  SetTick("0.01");
  ASSERT_EQ(Prompter().messages.size(), 2u);
  EXPECT_EQ(Prompter().messages[0].text, "Unable to write to " + settingsPath_ + ".");
  EXPECT_FALSE(Form().LogScaleAction()->isChecked());
  EXPECT_EQ(Form().Levels(), LevelSettings{});
}

}  // namespace
}  // namespace tavimo::app::test
