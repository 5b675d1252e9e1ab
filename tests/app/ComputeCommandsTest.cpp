// The four compute buttons of the main window: the empty-box messages, the
// conversion errors reaching the error box, and the levels on the bars.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "app/MainForm.h"

namespace tavimo::app::test {
namespace {

class ComputeCommandsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    CreateTheWindows();
    Form().show();
  }
  void SetPrices(const char* low, const char* high) {
    Form().Edit1()->setText(QString::fromUtf8(low));
    Form().Edit2()->setText(QString::fromUtf8(high));
  }
  // A real click, delivered through the application's event guard.
  void Click(int button) { QTest::mouseClick(Form().Button(button), Qt::LeftButton); }
};

struct EmptyBoxCase {
  int button;
  const char* low;
  const char* high;
  const char* message;
};

TEST_F(ComputeCommandsTest, EmptyNeededBoxShowsItsMessageAndLeavesTheBars) {
  const EmptyBoxCase cases[] = {
      {2, "", "20", "请输入低点数据！"},      {2, "", "", "请输入低点数据！"},
      {3, "10", "", "请输入高点数据！"},      {4, "10", "", "请输入低点和高点数据！"},
      {4, "", "20", "请输入低点和高点数据！"}, {4, "", "", "请输入低点和高点数据！"},
      {5, "", "", "请输入低点和高点数据！"},   {5, "abc", "", "请输入低点和高点数据！"},
  };
  for (const EmptyBoxCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Button" << c.button << " low='" << c.low << "' high='" << c.high << "'");
    Prompter().messages.clear();
    SetPrices(c.low, c.high);
    Click(c.button);
    ASSERT_EQ(Prompter().messages.size(), 1u);
    EXPECT_EQ(Prompter().messages[0].text, c.message);
    EXPECT_EQ(Prompter().messages[0].caption, "错误");
    EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::None);
    EXPECT_TRUE(Prompter().messages[0].hadOwner);
    EXPECT_EQ(BarValues(), std::vector<double>(16, 0.0));
  }
}


struct LevelCase {
  int button;
  std::vector<double> levels;
};

TEST_F(ComputeCommandsTest, EachButtonWritesItsLevelsToTheBarsInListOrder) {
  const LevelCase cases[] = {
      {2, {11.91, 12.36, 13.3333, 13.82, 15, 16.18, 16.6667, 18.09, 0, 0, 0, 0, 0, 0, 0, 0}},
      {3, {16.18, 15.28, 13.3333, 12.36, 10, 7.64, 6.6667, 3.82, 0, 0, 0, 0, 0, 0, 0, 0}},
      {4, {11.91, 12.36, 13.3333, 13.82, 15, 16.18, 16.6667, 18.09, 20, 21.91, 22.36, 23.82, 25, 26.18, 28.09, 30}},
      {5, {18.09, 17.64, 16.6667, 16.18, 15, 13.82, 13.3333, 11.91, 10, 8.09, 7.64, 6.18, 5, 3.82, 1.91, 0}},
  };
  for (const LevelCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Button" << c.button);
    SetPrices("10", "20");
    Click(c.button);
    const std::vector<double> values = BarValues();
    ASSERT_EQ(values.size(), c.levels.size());
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], c.levels[i], 5e-5) << "bar " << i;
  }
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_EQ(Form().Edit1()->text(), "10");
  EXPECT_EQ(Form().Edit2()->text(), "20");
}


struct ErrorCase {
  int button;
  const char* low;
  const char* high;
  const char* boxText;
};

TEST_F(ComputeCommandsTest, ConversionErrorsReachTheErrorBoxAndLeaveTheBars) {
  const ErrorCase cases[] = {
      {4, "abc", "20", "'abc' is not a valid floating point value."},
      {4, "10", "abc", "'abc' is not a valid floating point value."},
      {2, " ", "0", "' ' is not a valid floating point value."},
      {3, "0", "1e400", "Floating point overflow."},
  };
  SetPrices("10", "20");
  Click(4);
  const std::vector<double> before = BarValues();
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "Button" << c.button << " low='" << c.low << "' high='" << c.high << "'");
    Prompter().messages.clear();
    SetPrices(c.low, c.high);
    Click(c.button);
    ASSERT_EQ(Prompter().messages.size(), 1u);
    EXPECT_EQ(Prompter().messages[0].text, c.boxText);
    EXPECT_EQ(Prompter().messages[0].caption, "Tavimo");
    EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
    EXPECT_EQ(BarValues(), before);
  }
  // The window carries on after each report.
  Prompter().messages.clear();
  SetPrices("10", "20");
  Click(5);
  EXPECT_TRUE(Prompter().messages.empty());
  EXPECT_NEAR(BarValues()[0], 18.09, 1e-9);
}



}  // namespace
}  // namespace tavimo::app::test
