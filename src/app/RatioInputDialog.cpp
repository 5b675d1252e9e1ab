#include "app/RatioInputDialog.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/KeyboardInput.h"
#include "chart/Geometry.h"

namespace tavimo::app {

namespace {
constexpr int kMaxTextLength = 255;
constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

using chart::MulDiv;
}  // namespace

TRatioInputLayout LayoutRatioInput(int averageWidth, int letterHeight, int promptHeight, int editHeight) {
  const int x = averageWidth;
  const int y = letterHeight;
  TRatioInputLayout l;
  l.clientWidth = MulDiv(180, x, 4);
  l.promptMaxWidth = MulDiv(164, x, 4);
  const int left = MulDiv(8, x, 4);
  l.prompt = QRect(left, MulDiv(8, y, 8), 0, promptHeight);
  const int editTop = l.prompt.top() + promptHeight + 5;
  l.edit = QRect(left, editTop, MulDiv(164, x, 4), editHeight);
  const int buttonTop = editTop + editHeight + 15;
  const int buttonWidth = MulDiv(50, x, 4);
  const int buttonHeight = MulDiv(14, y, 8);
  l.okButton = QRect(MulDiv(38, x, 4), buttonTop, buttonWidth, buttonHeight);
  l.cancelButton = QRect(MulDiv(92, x, 4), buttonTop, buttonWidth, buttonHeight);
  l.clientHeight = buttonTop + buttonHeight + 13;
  return l;
}

TRatioInputDialog::TRatioInputDialog(QWidget* parent, const std::string& initialText)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      prompt_(new QLabel(tr("用逗号分隔所输值     s"), this)),
      edit_(new QLineEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(tr("设置黄金分割点"));
  setModal(true);

  const QFontMetrics metrics(font());
  const QString letters = QString::fromLatin1(kLetters);
  const int averageWidth = metrics.horizontalAdvance(letters) / 52;
  const int letterHeight = metrics.height();
  const int maxPromptWidth = MulDiv(164, averageWidth, 4);
  const QRect promptBounds =
      metrics.boundingRect(QRect(0, 0, maxPromptWidth, 10000), Qt::TextWordWrap, prompt_->text());
  edit_->setMaxLength(kMaxTextLength);
  const TRatioInputLayout layout =
      LayoutRatioInput(averageWidth, letterHeight, promptBounds.height(), edit_->sizeHint().height());

  prompt_->setWordWrap(true);
  prompt_->setGeometry(QRect(layout.prompt.topLeft(), QSize(promptBounds.width(), promptBounds.height())));
  edit_->setGeometry(layout.edit);
  edit_->setText(QString::fromUtf8(initialText));
  edit_->selectAll();
  ok_->setGeometry(layout.okButton);
  cancel_->setGeometry(layout.cancelButton);
  ok_->setDefault(true);
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  // Enter on a focused button presses that button, Cancel included.
  PressOnEnter(ok_);
  PressOnEnter(cancel_);
  setTabOrder(edit_, ok_);
  setTabOrder(ok_, cancel_);
  edit_->setFocus();
  setFixedSize(layout.clientWidth, layout.clientHeight);
}

std::string TRatioInputDialog::Text() const { return edit_->text().toUtf8().toStdString(); }

void TRatioInputDialog::showEvent(QShowEvent* event) {
  // Centred on the screen the dialog opens on.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(event);
}

}  // namespace tavimo::app
