#pragma once
// The About window (TForm5): the product title, the version, the maker's
// contact links and a short text about the maker. Closing it only hides it.

#include <QLabel>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace tavimo::app {

class TShell;

// A label that reports a left click; link labels and the picture use it.
class TClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

class TForm5 : public QWidget {
  Q_OBJECT
 public:
  TForm5(QWidget* owner, TShell& shell);

  void Button1Click();   // close
  void Image1Click();    // the maker's web page
  void Label7Click();    // a chat with the maker's QQ number
  void Label8Click();    // an e-mail to the maker
  void Label9Click();    // the maker's web page
  void Label11Click();   // the update-information page

  // The addresses the links open.
  static std::string WebPageAddress();
  static std::string MailAddress();
  static std::string ChatAddress();
  static std::string UpdateAddress();

  QPlainTextEdit* Memo1() const { return memo1_; }
  QPushButton* Button1() const { return button1_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TShell& shell_;
  bool labelsPlaced_ = false;
  QPlainTextEdit* memo1_;
  QPushButton* button1_;
};

}  // namespace tavimo::app
