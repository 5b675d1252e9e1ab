#include "app/UserFiles.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QMimeData>

#include <optional>
#include <stdexcept>

#include "chart/RasterOutput.h"
#include "platform/AtomicFile.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo::app {

std::string SuggestedSavePath(QStandardPaths::StandardLocation location, const QString& fileName) {
  QString folder = QStandardPaths::writableLocation(location);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return (folder + QLatin1Char('/') + fileName).toStdString();
}

namespace {
[[noreturn]] void RaiseUnableToWrite(const std::string& path, const std::string& reason) {
  throw Exception(messages::FormatMessage(messages::kUnableToWrite, path) + " (" + reason + ")");
}
}  // namespace

void SaveUserFile(const std::string& path, std::string_view bytes) {
  if (const std::optional<std::string> reason = platform::WriteFileAtomically(path, bytes))
    RaiseUnableToWrite(path, *reason);
}

void SaveUserPicture(const std::string& path, const QImage& image) {
  std::string png;
  try {
    png = chart::EncodePng(image);
  } catch (const std::runtime_error& error) {
    RaiseUnableToWrite(path, error.what());
  }
  SaveUserFile(path, png);
}

void CopyTextAndHtml(const std::string& text, const std::string& html) {
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8(text));
  data->setHtml(QString::fromUtf8(html));
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace tavimo::app
