#pragma once
// The Help window (TForm7): the usage text in an editable, scrollable box.
// Edits stay until the program ends and are never saved.

#include <QWidget>

class QPlainTextEdit;

namespace tavimo::app {

class TForm7 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm7(QWidget* owner);
  QPlainTextEdit* Memo1() const { return memo1_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QPlainTextEdit* memo1_;
  bool textLoaded_ = false;
};

// The help text shipped with the program (UTF-8).
QString HelpText();

}  // namespace tavimo::app
