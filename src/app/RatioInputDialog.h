#pragma once
// The one-line input dialog of the ratio settings command: a prompt, an edit
// box and OK/Cancel, laid out in dialog units of its font.

#include <QDialog>
#include <QRect>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavimo::app {

// Client-area geometry from the font metrics: averageWidth is the average
// width of the 52 letters A-Z a-z (truncated), letterHeight their height;
// promptHeight and editHeight are the heights the prompt and the edit box
// take in that font.
struct TRatioInputLayout {
  int clientWidth = 0;
  int clientHeight = 0;
  QRect prompt;
  QRect edit;
  QRect okButton;
  QRect cancelButton;
  int promptMaxWidth = 0;
};
TRatioInputLayout LayoutRatioInput(int averageWidth, int letterHeight, int promptHeight, int editHeight);

class TRatioInputDialog : public QDialog {
  Q_OBJECT
 public:
  TRatioInputDialog(QWidget* parent, const std::string& initialText);
  std::string Text() const;

  QLabel* Prompt() const { return prompt_; }
  QLineEdit* Edit() const { return edit_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* prompt_;
  QLineEdit* edit_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace tavimo::app
