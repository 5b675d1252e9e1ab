#include "app/HelpForm.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>

#include "app/Fonts.h"
#include "app/SharedTexts.h"

namespace tavimo::app {

namespace {
constexpr int kClientWidth = 436;
constexpr int kClientHeight = 367;
constexpr int kLeft = 192;
constexpr int kTop = 309;
}  // namespace

QString HelpText() {
  //: The resource holding the help text; each language names its own text.
  QFile file(TForm7::tr(":/tavimo/help.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

TForm7::TForm7(QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(HelpCaption());
  setFont(ControlFont("MS Sans Serif", -11));
  setFixedSize(kClientWidth, kClientHeight);
  move(kLeft, kTop);

  memo1_ = new QPlainTextEdit(this);
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setGeometry(0, 0, kClientWidth, kClientHeight);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);

  auto* escape = new QAction(this);
  escape->setShortcut(Qt::Key_Escape);
  connect(escape, &QAction::triggered, this, &QWidget::close);
  addAction(escape);
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
