#pragma once
// Keyboard helpers the windows share: Enter on a focused button, Escape on
// a window, and price boxes that take what a Chinese input method types.

#include <QString>
#include <QValidator>

class QAbstractButton;
class QWidget;

namespace tavimo::app {

// Enter or keypad Enter on the focused button presses it, as Space does.
void PressOnEnter(QAbstractButton* button);

// Escape anywhere in window closes it.
void CloseOnEscape(QWidget* window);

// Full-width digits, the full-width full stop and the ideographic full stop
// become their ASCII forms; every other character stays.
QString WithAsciiDigits(QString text);

// The price boxes' validator: it only rewrites full-width input as it is
// typed and accepts every text, so the price conversion sees what it always did.
class TPriceBoxValidator : public QValidator {
  Q_OBJECT
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override;
};

}  // namespace tavimo::app
