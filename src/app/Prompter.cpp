#include "app/Prompter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "app/ChoiceListDialog.h"
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

std::optional<std::string> TQtPrompter::AskText(QWidget* parent, const std::string& caption, const std::string& prompt,
                                                const std::string& initialText) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent, QString::fromUtf8(caption), QString::fromUtf8(prompt),
                                             QLineEdit::Normal, QString::fromUtf8(initialText), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

std::optional<std::string> TQtPrompter::AskChoice(QWidget* parent, const std::string& caption,
                                                  const std::string& prompt, const std::vector<std::string>& items) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(items.size()));
  for (const std::string& item : items) list << QString::fromStdString(item);
  TChoiceListDialog dialog(parent, QString::fromUtf8(caption), QString::fromUtf8(prompt), list);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const std::optional<int> row = dialog.ChosenRow();
  if (!row) return std::nullopt;
  return items[static_cast<std::size_t>(*row)];
}

namespace {
std::optional<std::string> AskSavePath(QWidget* parent, const std::string& caption, const std::string& suggestedPath,
                                       const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, QString::fromUtf8(caption), QString::fromStdString(suggestedPath), filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  dialog.selectFile(QString::fromStdString(suggestedPath));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}
}  // namespace

std::optional<std::string> TQtPrompter::AskPicturePath(QWidget* parent, const std::string& caption,
                                                       const std::string& suggestedPath) {
  return AskSavePath(parent, caption, suggestedPath, QStringLiteral("PNG (*.png)"), QStringLiteral("png"));
}

std::optional<std::string> TQtPrompter::AskCsvPath(QWidget* parent, const std::string& caption,
                                                   const std::string& suggestedPath) {
  return AskSavePath(parent, caption, suggestedPath, QStringLiteral("CSV (*.csv)"), QStringLiteral("csv"));
}

std::optional<std::string> TQtPrompter::AskPriceFilePath(QWidget* parent, const std::string& caption,
                                                         const std::string& directory) {
  const QString path = QFileDialog::getOpenFileName(
      parent, QString::fromUtf8(caption), QString::fromStdString(directory),
      QCoreApplication::translate("tavimo::app::TQtPrompter", "价格文件 (*.csv *.txt);;所有文件 (*)"));
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

}  // namespace tavimo::app
