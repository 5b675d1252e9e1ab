#include "app/HelpForm.h"

#include <QFile>
#include <QPlainTextEdit>

#include "app/FixedDialog.h"
#include "app/Fonts.h"
#include "app/KeyboardInput.h"
#include "app/SharedTexts.h"

namespace tavimo::app {

namespace {
// The client area, at its place on the screen.
constexpr QRect kDesigned(192, 309, 436, 367);
}  // namespace

QString HelpText() {
  //: The resource holding the help text; each language names its own text.
  QFile file(TForm7::tr(":/tavimo/help.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

TForm7::TForm7(QWidget* owner) : QWidget(owner, kFixedDialogFlags) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(HelpCaption());
  setFont(ControlFont("MS Sans Serif", -11));
  PlaceFixedDialog(this, kDesigned);

  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(QRect(QPoint(0, 0), kDesigned.size()));
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  CloseOnEscape(this);
}

void TForm7::showEvent(QShowEvent* event) {
  // The text is laid out when the window is first shown, not during start-up;
  // later showings keep whatever was typed into it.
  if (!textLoaded_) {
    textLoaded_ = true;
    memo1_->setPlainText(HelpText());
  }
  QWidget::showEvent(event);
}

}  // namespace tavimo::app
