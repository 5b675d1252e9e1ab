// Reporting what escapes a handler: the error box for our exceptions, the
// last-chance box for anything else, the event guard, the creation guard
// and the mouse grab that has to end before a box opens.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "AppTestSupport.h"
#include "app/ErrorReporting.h"
#include "app/MainForm.h"
#include "chart/BarSeries.h"
#include "app/TavimoApplication.h"
#include "runtime/Exceptions.h"

namespace tavimo::app::test {
namespace {

class ErrorReportingTest : public WindowTest {};

TEST(LastChanceTextTest, NamesClassModuleAddressAndEndsTheMessageWithAPeriod) {
  struct Row {
    const char* message;
    const char* expected;
  };
  const Row rows[] = {
      {"Range check error", "Exception ERangeError in module tavimo at 00000000.\nRange check error.\n"},
      {"Done.", "Exception ERangeError in module tavimo at 00000000.\nDone.\n"},
      {"", "Exception ERangeError in module tavimo at 00000000.\n\n"},
      {"Odd!", "Exception ERangeError in module tavimo at 00000000.\nOdd!.\n"},
  };
  for (const Row& row : rows) EXPECT_EQ(LastChanceText("ERangeError", "tavimo", 0, row.message), row.expected);
  EXPECT_EQ(LastChanceText("EOverflow", "tavimo", 0x4A2B, "x"), "Exception EOverflow in module tavimo at 00004A2B.\nx.\n");
}

TEST_F(ErrorReportingTest, OurExceptionsGoToTheErrorBoxWithTheApplicationTitle) {
  struct Row {
    std::exception_ptr error;
    const char* text;
  };
  const Row rows[] = {
      {std::make_exception_ptr(EConvertError("'abc' is not a valid floating point value")),
       "'abc' is not a valid floating point value."},
      {std::make_exception_ptr(EZeroDivide("Floating point division by zero")), "Floating point division by zero."},
      {std::make_exception_ptr(Exception("Ends with a period.")), "Ends with a period."},
      {std::make_exception_ptr(Exception("(in parentheses)")), "(in parentheses)"},
      {std::make_exception_ptr(Exception("中文结尾")), "中文结尾."},
      {std::make_exception_ptr(Exception("")), ""},
  };
  for (const Row& row : rows) {
    Prompter().messages.clear();
    Application().Reporter().ReportException(row.error);
    ASSERT_EQ(Prompter().messages.size(), 1u);
    EXPECT_EQ(Prompter().messages[0].text, row.text);
    EXPECT_EQ(Prompter().messages[0].caption, "Tavimo");
    EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
    EXPECT_FALSE(Prompter().messages[0].hadOwner);
  }
}

TEST_F(ErrorReportingTest, OtherObjectsGoToTheLastChanceBoxAndTheProgramGoesOn) {
  Application().Reporter().ReportException(std::make_exception_ptr(std::runtime_error("disk on fire")));
  Application().Reporter().ReportException(std::make_exception_ptr(42));
  ASSERT_EQ(Prompter().messages.size(), 2u);
  EXPECT_EQ(Prompter().messages[0].caption, "Application Error");
  EXPECT_EQ(Prompter().messages[0].text, "Exception std::runtime_error in module tavimo at 00000000.\ndisk on fire.\n");
  EXPECT_EQ(Prompter().messages[0].icon, TPromptIcon::Error);
  EXPECT_EQ(Prompter().messages[1].text, "Exception int in module tavimo at 00000000.\n\n");
}


// An object whose event handling fails, to reach the application's guard.
class TFailingReceiver : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EOverflow("Floating point overflow");
    if (e->type() == QEvent::User + 1) throw std::logic_error("not ours");
    return QObject::event(e);
  }
};

TEST_F(ErrorReportingTest, EventGuardReportsWhatEscapesAnEventAndTheLoopContinues) {
  TFailingReceiver receiver;
  QEvent direct(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&receiver, &direct));
  QCoreApplication::postEvent(&receiver, new QEvent(static_cast<QEvent::Type>(QEvent::User + 1)));
  QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
  ProcessEvents();
  ASSERT_EQ(Prompter().messages.size(), 3u);
  EXPECT_EQ(Prompter().messages[0].text, "Floating point overflow.");
  EXPECT_EQ(Prompter().messages[1].caption, "Application Error");
  EXPECT_EQ(Prompter().messages[2].text, "Floating point overflow.");
}

TEST_F(ErrorReportingTest, MouseGrabEndsBeforeTheBoxOpens) {
  QWidget holder;
  holder.show();
  holder.grabMouse();
  ASSERT_EQ(QWidget::mouseGrabber(), &holder);
  bool grabbedWhileBoxUp = true;
  Prompter().onMessage = [&] { grabbedWhileBoxUp = QWidget::mouseGrabber() != nullptr; };
  Application().Reporter().ReportException(std::make_exception_ptr(Exception("x")));
  EXPECT_FALSE(grabbedWhileBoxUp);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ErrorReportingTest, CreationHandlerErrorIsShownBeforeTheWindowAndTheWindowStillWorks) {
  CreateTheWindows([](TMainForm& form) {
    form.FormCreate();
    throw EZeroDivide("Floating point division by zero");
  });
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "Floating point division by zero.");
  EXPECT_FALSE(Prompter().messages[0].mainWindowVisible);
  // What the handler did before the error stays; the window opens and works.
  EXPECT_EQ(BarLabels().size(), 16u);
  Form().show();
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  EXPECT_NEAR(BarValues()[15], 30.0, 1e-12);
  EXPECT_EQ(Prompter().messages.size(), 1u);
}

TEST_F(ErrorReportingTest, CreationHandlerErrorBeforeTheBarsLeavesAnEmptyChart) {
  CreateTheWindows([](TMainForm&) { throw EConvertError("'x' is not a valid integer value"); });
  ASSERT_EQ(Prompter().messages.size(), 1u);
  EXPECT_EQ(Prompter().messages[0].text, "'x' is not a valid integer value.");
  EXPECT_EQ(Form().Series1().PointCount(), 0);
}

}  // namespace
}  // namespace tavimo::app::test
