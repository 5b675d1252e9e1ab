// The window from the keyboard: Enter in the high box and on buttons, the
// compute keys, Ctrl+C, F1 and Escape, the About window's focus, full-width
// digits in the price boxes, and what assistive technology is told.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "AppTestSupport.h"
#include "app/AboutForm.h"
#include "app/ChartWidget.h"
#include "app/HelpForm.h"
#include "app/MainForm.h"

namespace tavimo::app::test {
namespace {

// tavimo-cli resistance --low 10 --high 20
const char* const kResistanceLines =
    "0.191\t11.91\n0.236\t12.36\n1/3\t13.333\n0.382\t13.82\n0.5\t15\n0.618\t16.18\n2/3\t16.667\n0.809\t18.09\n"
    "1\t20\n1.191\t21.91\n1.236\t22.36\n1.382\t23.82\n1.5\t25\n1.618\t26.18\n1.809\t28.09\n2\t30\n";

class KeyboardTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ShowTheMainWindow();
  }
  // Types into a box the way a user would: focus, select all, type.
  void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // Key presses carrying characters no key of the test keyboard has.
  void TypeCharacters(QLineEdit* edit, const QString& text) {
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit, &press);
    }
  }
  QString AccessibleName(QObject* object) {
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
  }
};

TEST_F(KeyboardTest, EnterInTheHighBoxRunsTheComputeCommandUsedLast) {
  Type(Form().Edit1(), "10");
  QTest::keyClick(Form().Edit1(), Qt::Key_Return);
  Type(Form().Edit2(), "20");
  QTest::keyClick(Form().Edit2(), Qt::Key_Return);
  EXPECT_EQ(BarValues()[15], 30.0);  // rebound resistance before any other
  EXPECT_EQ(Form().Edit2()->text(), "20");

  QTest::mouseClick(Form().Button(3), Qt::LeftButton);  // decline from the high
  Form().Edit2()->setFocus();
  Type(Form().Edit2(), "40");
  QTest::keyClick(Form().Edit2(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_DOUBLE_EQ(BarValues()[4], 20.0);  // 0.5 below 40
  EXPECT_TRUE(Prompter().messages.empty());
}

TEST_F(KeyboardTest, EnterOnAFocusedButtonPressesIt) {
  Form().Edit1()->setText("5");
  Form().Button(6)->setFocus();
  QTest::keyClick(Form().Button(6), Qt::Key_Return);
  EXPECT_EQ(Form().Edit1()->text(), "0");
  Form().Button(9)->setFocus();
  QTest::keyClick(Form().Button(9), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(windows_.help->isVisible());
}

TEST_F(KeyboardTest, AltDigitsRunTheComputeCommandsAndTheTooltipsTellThem) {
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  const struct {
    int button;
    Qt::Key key;
    double firstLevel;
  } keys[] = {{2, Qt::Key_1, 11.91}, {3, Qt::Key_2, 16.18}, {4, Qt::Key_3, 11.91}, {5, Qt::Key_4, 18.09}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.button);
    Form().Button(6)->setFocus();  // any control but a price box
    QTest::keyClick(&Form(), k.key, Qt::AltModifier);
    EXPECT_NEAR(BarValues()[0], k.firstLevel, 1e-9);
    EXPECT_TRUE(Form().Button(k.button)->toolTip().contains(QKeySequence(Qt::ALT | k.key).toString(QKeySequence::NativeText)))
        << Form().Button(k.button)->toolTip().toStdString();
    Form().Edit1()->setText("10");
    Form().Edit2()->setText("20");
  }
}

TEST_F(KeyboardTest, CtrlCCopiesTheLevelsAsTavimoCliPrintsThemWithAnHtmlTable) {
  Type(Form().Edit1(), "10");
  Type(Form().Edit2(), "20");
  QTest::keyClick(Form().Edit2(), Qt::Key_Return);
  QGuiApplication::clipboard()->clear();
  QTest::keyClick(Form().Edit2(), Qt::Key_C, Qt::ControlModifier);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text().toStdString(), kResistanceLines);
  ASSERT_TRUE(data->hasHtml());
  EXPECT_TRUE(data->html().contains("<tr><td>1/3</td><td>13.333</td></tr>"));
  EXPECT_EQ(data->html().count("<tr>"), 16);

  // A selection in a price box is copied as text, as in any edit box.
  Form().Edit1()->selectAll();
  QTest::keyClick(Form().Edit1(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "10");
  // From a button the levels are copied again.
  Form().Button(2)->setFocus();
  QTest::keyClick(Form().Button(2), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), kResistanceLines);
}

TEST_F(KeyboardTest, F1OpensHelpAndEscapeClosesHelpAndAbout) {
  QTest::keyClick(Form().Edit1(), Qt::Key_F1);
  ASSERT_TRUE(windows_.help->isVisible());
  QApplication::setActiveWindow(windows_.help);
  QTest::keyClick(windows_.help->Memo1(), Qt::Key_Escape);
  EXPECT_FALSE(windows_.help->isVisible());

  QTest::mouseClick(Form().Button(1), Qt::LeftButton);
  ASSERT_TRUE(windows_.about->isVisible());
  QApplication::setActiveWindow(windows_.about);
  QTest::keyClick(windows_.about->Memo1(), Qt::Key_Escape);
  EXPECT_FALSE(windows_.about->isVisible());
}

TEST_F(KeyboardTest, AboutOpensOnOkAndTabMovesBetweenOkAndTheMemo) {
  QTest::mouseClick(Form().Button(1), Qt::LeftButton);
  QApplication::setActiveWindow(windows_.about);
  ASSERT_TRUE(windows_.about->Button1()->hasFocus());
  QTest::keyClick(windows_.about->Button1(), Qt::Key_Tab);
  EXPECT_TRUE(windows_.about->Memo1()->hasFocus());
  const QString text = windows_.about->Memo1()->toPlainText();
  QTest::keyClick(windows_.about->Memo1(), Qt::Key_Tab);
  EXPECT_TRUE(windows_.about->Button1()->hasFocus());
  EXPECT_EQ(windows_.about->Memo1()->toPlainText(), text);
  // The memo stays editable; Return on OK closes the window.
  EXPECT_FALSE(windows_.about->Memo1()->isReadOnly());
  QTest::keyClick(windows_.about->Button1(), Qt::Key_Return);
  EXPECT_FALSE(windows_.about->isVisible());
  // Opened again, it starts on OK again.
  windows_.about->Memo1()->setFocus();
  QTest::mouseClick(Form().Button(1), Qt::LeftButton);
  QApplication::setActiveWindow(windows_.about);
  EXPECT_TRUE(windows_.about->Button1()->hasFocus());
}

TEST_F(KeyboardTest, FullWidthDigitsAndStopsBecomeAsciiWhileTyping) {
  Form().Edit1()->setFocus();
  Form().Edit1()->selectAll();
  TypeCharacters(Form().Edit1(), QString::fromUtf8("１０．５"));
  EXPECT_EQ(Form().Edit1()->text(), "10.5");
  // An input method commits a whole text at once.
  Form().Edit2()->setFocus();
  Form().Edit2()->clear();
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("２０。７５"));
  QApplication::sendEvent(Form().Edit2(), &commit);
  EXPECT_EQ(Form().Edit2()->text(), "20.75");
  // Other characters stay as typed, and the prices convert as before.
  Form().Edit2()->selectAll();
  TypeCharacters(Form().Edit2(), QString::fromUtf8("２x，"));
  EXPECT_EQ(Form().Edit2()->text(), QString::fromUtf8("2x，"));
}

TEST_F(KeyboardTest, BoxesAndButtonsHaveNamesAndTheChartDescribesItsLevels) {
  EXPECT_EQ(AccessibleName(Form().Edit1()), "低点");
  EXPECT_EQ(AccessibleName(Form().Edit2()), "高点");
  for (int number = 1; number <= 11; ++number) {
    SCOPED_TRACE(number);
    EXPECT_FALSE(AccessibleName(Form().Button(number)).isEmpty());
  }
  EXPECT_FALSE(AccessibleName(windows_.about->Button1()).isEmpty());
  EXPECT_FALSE(AccessibleName(Form().Chart1()).isEmpty());

  const auto description = [this] {
    return QAccessible::queryAccessibleInterface(Form().Chart1())->text(QAccessible::Description).toStdString();
  };
  EXPECT_EQ(description().substr(0, 9), "0.191\t0\n0");
  Form().Edit1()->setText("10");
  Form().Edit2()->setText("20");
  QTest::mouseClick(Form().Button(4), Qt::LeftButton);
  EXPECT_EQ(description(), kResistanceLines);
  QTest::mouseClick(Form().Button(6), Qt::LeftButton);
  EXPECT_EQ(description().substr(0, 9), "0.191\t0\n0");
}

}  // namespace
}  // namespace tavimo::app::test
