#include "app/Prompter.h"

#include <QFileDialog>
#include <QInputDialog>
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

std::optional<std::string> TQtPrompter::AskText(QWidget* parent, const std::string& caption,
                                                const std::string& prompt) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent, QString::fromUtf8(caption), QString::fromUtf8(prompt), QLineEdit::Normal, {}, &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<std::string> TQtPrompter::AskChoice(QWidget* parent, const std::string& caption,
                                                  const std::string& prompt, const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << QString::fromStdString(item);
  bool ok = false;
  const QString choice =
      QInputDialog::getItem(parent, QString::fromUtf8(caption), QString::fromUtf8(prompt), list, 0, false, &ok);
  if (!ok || choice.isEmpty()) return std::nullopt;
  return choice.toStdString();
}

std::optional<std::string> TQtPrompter::AskPicturePath(QWidget* parent, const std::string& caption,
                                                       const std::string& suggestedPath) {
  QFileDialog dialog(parent, QString::fromUtf8(caption), QString::fromStdString(suggestedPath),
                     QStringLiteral("PNG (*.png)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QStringLiteral("png"));
  dialog.selectFile(QString::fromStdString(suggestedPath));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace tavimo::app
