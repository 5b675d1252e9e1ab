// The ratio input dialog: its layout in units of its font, its caption and
// prompt, the edit box, and what OK, Enter, Cancel and Escape return.

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/Prompter.h"
#include "app/RatioInputDialog.h"

namespace tavimo::app::test {
namespace {

struct LayoutRow {
  int x, y, promptHeight, editHeight;
  int clientWidth, clientHeight;
  QRect prompt, edit, ok, cancel;
};

TEST(RatioInputLayoutTest, SizesFollowTheFontUnitsRoundedToTheNearestPixel) {
  const LayoutRow rows[] = {
      {6, 13, 13, 21, 270, 103, QRect(12, 13, 0, 13), QRect(12, 31, 246, 21), QRect(57, 67, 75, 23),
       QRect(138, 67, 75, 23)},
      // 50*7/4 = 87.5 and 38*7/4 = 66.5 round away from zero; 14*14/8 = 24.5 likewise.
      {7, 14, 14, 22, 315, 108, QRect(14, 14, 0, 14), QRect(14, 33, 287, 22), QRect(67, 70, 88, 25),
       QRect(161, 70, 88, 25)},
      // 14*15/8 = 26.25 rounds down.
      {8, 15, 30, 24, 360, 128, QRect(16, 15, 0, 30), QRect(16, 50, 328, 24), QRect(76, 89, 100, 26),
       QRect(184, 89, 100, 26)},
  };
  for (const LayoutRow& r : rows) {
    SCOPED_TRACE(testing::Message() << "X=" << r.x << " Y=" << r.y);
    const TRatioInputLayout l = LayoutRatioInput(r.x, r.y, r.promptHeight, r.editHeight);
    EXPECT_EQ(l.clientWidth, r.clientWidth);
    EXPECT_EQ(l.clientHeight, r.clientHeight);
    EXPECT_EQ(l.prompt, r.prompt);
    EXPECT_EQ(l.edit, r.edit);
    EXPECT_EQ(l.okButton, r.ok);
    EXPECT_EQ(l.cancelButton, r.cancel);
    EXPECT_EQ(l.promptMaxWidth, r.edit.width());
  }
}

// Whether `inner` lies inside the dialog's client area.
bool InsideTheDialog(const QDialog& dialog, const QRect& inner) { return dialog.rect().contains(inner); }

// What the user reads and clicks fits: the prompt on its line, the captions
// on their buttons, a line in the edit box; the controls inside the dialog,
// from the top down and OK before Cancel.
void ExpectTextsFitTheirControls(const TRatioInputDialog& dialog) {
  const QLabel& prompt = *dialog.Prompt();
  EXPECT_LE(QFontMetrics(prompt.font()).horizontalAdvance(prompt.text()), prompt.width());
  EXPECT_GE(prompt.height(), QFontMetrics(prompt.font()).height());
  EXPECT_GE(dialog.Edit()->height(), dialog.Edit()->minimumSizeHint().height());
  for (const QPushButton* button : {dialog.OkButton(), dialog.CancelButton()}) {
    EXPECT_LT(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width())
        << button->text().toStdString();
    EXPECT_GE(button->height(), QFontMetrics(button->font()).height());
  }
  for (const QWidget* control : std::initializer_list<const QWidget*>{&prompt, dialog.Edit(), dialog.OkButton(),
                                                                      dialog.CancelButton()})
    EXPECT_TRUE(InsideTheDialog(dialog, control->geometry())) << control->metaObject()->className();
  EXPECT_LE(prompt.geometry().bottom(), dialog.Edit()->geometry().top());
  EXPECT_LT(dialog.Edit()->geometry().bottom(), dialog.OkButton()->geometry().top());
  EXPECT_EQ(dialog.OkButton()->geometry().top(), dialog.CancelButton()->geometry().top());
  EXPECT_LT(dialog.OkButton()->geometry().right(), dialog.CancelButton()->geometry().left());
}

TEST(RatioInputDialogTest, TextsFitTheirControlsInAFixedSizeDialog) {
  TRatioInputDialog dialog(nullptr, "0.5,1/3");
  ExpectTextsFitTheirControls(dialog);
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.size(), dialog.minimumSize());
}

// The layout follows the dialog's font: twice the letters, a dialog about twice as big.
TEST(RatioInputDialogTest, ALargerFontGivesALargerDialogThatStillFitsItsTexts) {
  const TRatioInputDialog normal(nullptr, "0.5,1/3");
  const QFont saved = QApplication::font();
  QFont large = saved;
  large.setPixelSize(2 * QFontInfo(saved).pixelSize());
  QApplication::setFont(large);
  const TRatioInputDialog enlarged(nullptr, "0.5,1/3");
  QApplication::setFont(saved);
  ASSERT_EQ(QFontInfo(enlarged.font()).pixelSize(), QFontInfo(large).pixelSize());
  ExpectTextsFitTheirControls(enlarged);
  EXPECT_GT(enlarged.width(), normal.width() * 3 / 2);
  EXPECT_GT(enlarged.height(), normal.height() * 3 / 2);
}

TEST(RatioInputDialogTest, CaptionPromptAndEditBox) {
  TRatioInputDialog dialog(nullptr, "0.5,1/3");
  EXPECT_EQ(dialog.windowTitle(), "设置黄金分割点");
  EXPECT_EQ(dialog.Prompt()->text(), "用逗号分隔所输值     s");
  EXPECT_EQ(dialog.Edit()->maxLength(), 255);
  EXPECT_EQ(dialog.Edit()->text(), "0.5,1/3");
  EXPECT_EQ(dialog.Edit()->selectedText(), "0.5,1/3");
  EXPECT_EQ(dialog.OkButton()->text(), "OK");
  EXPECT_EQ(dialog.CancelButton()->text(), "Cancel");
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  EXPECT_TRUE(dialog.isModal());
}

// Runs the real prompter's dialog and acts on it once it is up.
std::string AskWith(const std::function<void(TRatioInputDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<TRatioInputDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no dialog is up";
      return;
    }
    act(*dialog);
  });
  TQtPrompter prompter;
  return prompter.AskRatioText(nullptr, "0.191,0.5");
}

TEST(RatioInputDialogTest, OkAndEnterReturnTheEditTextCancelAndEscapeTheInitialText) {
  EXPECT_EQ(AskWith([](TRatioInputDialog& d) {
              QTest::keyClicks(d.Edit(), "0.5,2");  // replaces the selected text
              QTest::mouseClick(d.OkButton(), Qt::LeftButton);
            }),
            "0.5,2");
  EXPECT_EQ(AskWith([](TRatioInputDialog& d) {
              d.Edit()->setText("1/3");
              QTest::keyClick(d.Edit(), Qt::Key_Return);
            }),
            "1/3");
  EXPECT_EQ(AskWith([](TRatioInputDialog& d) {
              d.Edit()->setText("typed");
              QTest::mouseClick(d.CancelButton(), Qt::LeftButton);
            }),
            "0.191,0.5");
  EXPECT_EQ(AskWith([](TRatioInputDialog& d) {
              d.Edit()->setText("typed");
              QTest::keyClick(d.Edit(), Qt::Key_Escape);
            }),
            "0.191,0.5");
  EXPECT_EQ(AskWith([](TRatioInputDialog& d) {
              d.Edit()->clear();
              QTest::mouseClick(d.OkButton(), Qt::LeftButton);
            }),
            "");
  // Enter on the focused Cancel button cancels instead of pressing OK.
  EXPECT_EQ(AskWith([](TRatioInputDialog& d) {
              d.Edit()->setText("typed");
              d.CancelButton()->setFocus();
              QTest::keyClick(d.CancelButton(), Qt::Key_Return);
            }),
            "0.191,0.5");
}

TEST(RatioInputDialogTest, EditBoxTakesAtMost255Characters) {
  TRatioInputDialog dialog(nullptr, "");
  dialog.Edit()->setFocus();
  QTest::keyClicks(dialog.Edit(), QString(300, QChar('1')));
  EXPECT_EQ(dialog.Edit()->text().size(), 255);
}

}  // namespace
}  // namespace tavimo::app::test
