#include "app/Prompter.h"

#include <QMessageBox>

#include "app/RatioInputDialog.h"

namespace tavimo::app {

void TQtPrompter::ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                              TPromptIcon icon) {
  QMessageBox box(icon == TPromptIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                  QString::fromUtf8(caption), QString::fromUtf8(text), QMessageBox::Ok, parent);
  box.exec();
}

std::string TQtPrompter::AskRatioText(QWidget* parent, const std::string& initialText) {
  TRatioInputDialog dialog(parent, initialText);
  return dialog.exec() == QDialog::Accepted ? dialog.Text() : initialText;
}

}  // namespace tavimo::app
