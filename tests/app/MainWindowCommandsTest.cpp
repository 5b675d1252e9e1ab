// The main window's other commands: clear, the Enter key in the low box,
// the calculator, exit, About, Help and the update page.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "AppTestSupport.h"
#include "app/AboutForm.h"
#include "app/HelpForm.h"
#include "app/MainForm.h"

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

TEST_F(MainWindowCommandsTest, UpdateButtonOpensAPageOfTheMakersSiteOfItsOwn) {
  Click(10);
  ASSERT_EQ(shell_.opened.size(), 1u);
  const QUrl page(QString::fromStdString(shell_.opened[0]), QUrl::StrictMode);
  // The maker's site as the About window shows it, and the page its own update link opens.
  Click(1);
  auto* site = windows_.about->findChild<QLabel*>(QStringLiteral("Label9"));
  auto* aboutUpdate = windows_.about->findChild<QLabel*>(QStringLiteral("Label11"));
  ASSERT_TRUE(site && aboutUpdate);
  QTest::mouseClick(aboutUpdate, Qt::LeftButton);
  ASSERT_EQ(shell_.opened.size(), 2u);
  const QUrl siteUrl(site->text());
  EXPECT_TRUE(page.isValid()) << shell_.opened[0];
  EXPECT_EQ(page.scheme(), "https");
  EXPECT_FALSE(siteUrl.host().isEmpty());
  EXPECT_EQ(page.host(), siteUrl.host());
  EXPECT_NE(page.adjusted(QUrl::StripTrailingSlash), siteUrl.adjusted(QUrl::StripTrailingSlash)) << "not the home page";
  EXPECT_NE(shell_.opened[0], shell_.opened[1]) << "not the About window's update page";
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
