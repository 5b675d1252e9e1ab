// The main window's other commands: clear, the Enter key in the low box,
// the calculator, exit, About, Help and the update page.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AboutForm.h"
#include "app/HelpForm.h"
#include "app/MainForm.h"
#include "app/MakerInfo.h"

namespace tavimo::app::test {
namespace {

class MainWindowCommandsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ShowTheMainWindow();
  }
  void Click(int button) { QTest::mouseClick(Form().Button(button), Qt::LeftButton); }
};

TEST_F(MainWindowCommandsTest, ClearPutsZeroInBothBoxesAndEveryBarBackToZero) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  Click(4);
  ASSERT_NE(BarValues(), std::vector<double>(16, 0.0));
  const std::vector<std::string> labels = BarLabels();
  Click(6);
  EXPECT_EQ(Form().Edit1()->text(), "0");
  EXPECT_EQ(Form().Edit2()->text(), "0");
  EXPECT_EQ(BarValues(), std::vector<double>(16, 0.0));
  EXPECT_EQ(BarLabels(), labels);
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(MainWindowCommandsTest, EnterInTheLowBoxMovesTheFocusWithoutTyping) {
  Form().Edit1()->setFocus();
  Form().Edit1()->clear();
  QTest::keyClicks(Form().Edit1(), "12.5");
  QTest::keyClick(Form().Edit1(), Qt::Key_Return);
  EXPECT_EQ(Form().Edit1()->text(), "12.5");
  EXPECT_TRUE(Form().Edit2()->hasFocus());
  EXPECT_EQ(Form().Edit2()->text(), "0");
  // The keypad's Enter does the same.
  Form().Edit1()->setFocus();
  QTest::keyClick(Form().Edit1(), Qt::Key_Enter);
  EXPECT_TRUE(Form().Edit2()->hasFocus());
  // Other keys still type.
  Form().Edit1()->setFocus();
  QTest::keyClick(Form().Edit1(), Qt::Key_7);
  EXPECT_EQ(Form().Edit1()->text(), "12.57");
}

TEST_F(MainWindowCommandsTest, CalculatorButtonStartsTheCalculatorQuietly) {
  Click(7);
  EXPECT_EQ(shell_.calculatorStarts, 1);
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(MainWindowCommandsTest, UpdateButtonOpensTheUpdatePage) {
  Click(10);
  ASSERT_EQ(shell_.opened.size(), 1u);
  EXPECT_EQ(shell_.opened[0], maker::kUpdatePage);
  EXPECT_NE(shell_.opened[0], TForm5::UpdateAddress());
}

TEST_F(MainWindowCommandsTest, ExitClosesTheMainWindow) {
  Click(8);
  EXPECT_FALSE(Form().isVisible());
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(MainWindowCommandsTest, AboutTwiceShowsOneAboutWindowAndTheMainWindowStaysUsable) {
  Click(1);
  Click(1);
  int visibleAbout = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (qobject_cast<TForm5*>(w) && w->isVisible()) ++visibleAbout;
  EXPECT_EQ(visibleAbout, 1);
  EXPECT_TRUE(windows_.about->isVisible());
  EXPECT_FALSE(windows_.about->isModal());
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  Click(4);
  EXPECT_NEAR(BarValues()[15], 30.0, 1e-12);
}

TEST_F(MainWindowCommandsTest, HelpButtonShowsTheHelpWindow) {
  EXPECT_FALSE(windows_.help->isVisible());
  Click(9);
  EXPECT_TRUE(windows_.help->isVisible());
  EXPECT_FALSE(windows_.help->isModal());
}

}  // namespace
}  // namespace tavimo::app::test
