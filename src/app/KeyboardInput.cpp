#include "app/KeyboardInput.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QKeyEvent>

namespace tavimo::app {

namespace {
class TEnterPressesButton : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || modifiers != Qt::NoModifier) return false;
    auto* button = static_cast<QAbstractButton*>(watched);
    if (!key->isAutoRepeat() && button->isEnabled()) button->click();
    return true;
  }
};
}  // namespace

void PressOnEnter(QAbstractButton* button) { button->installEventFilter(new TEnterPressesButton(button)); }

void CloseOnEscape(QWidget* window) {
  auto* escape = new QAction(window);
  escape->setShortcut(Qt::Key_Escape);
  QObject::connect(escape, &QAction::triggered, window, &QWidget::close);
  window->addAction(escape);
}

QString WithAsciiDigits(QString text) {
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u >= u'０' && u <= u'９')
      c = QChar(u'0' + (u - u'０'));
    else if (u == u'．' || u == u'。')
      c = QChar(u'.');
  }
  return text;
}

QValidator::State TPriceBoxValidator::validate(QString& input, int&) const {
  // One character for one, so the caret stays where it was.
  input = WithAsciiDigits(std::move(input));
  return Acceptable;
}

}  // namespace tavimo::app
