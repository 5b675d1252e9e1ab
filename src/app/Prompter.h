#pragma once
// Every modal prompt the program shows (message boxes, the ratio input
// dialog, error boxes) goes through TPrompter, so tests can answer them
// without a person. TQtPrompter is the real one.

#include <string>

class QWidget;

namespace tavimo::app {

enum class TPromptIcon { None, Error };

class TPrompter {
 public:
  virtual ~TPrompter() = default;
  // A modal box with one OK button. parent may be null (no owner window).
  virtual void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                           TPromptIcon icon) = 0;
  // The ratio input dialog: the edit text after OK, initialText after Cancel
  // or when the dialog is closed otherwise.
  virtual std::string AskRatioText(QWidget* parent, const std::string& initialText) = 0;
};

class TQtPrompter : public TPrompter {
 public:
  void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                   TPromptIcon icon) override;
  std::string AskRatioText(QWidget* parent, const std::string& initialText) override;
};

}  // namespace tavimo::app
