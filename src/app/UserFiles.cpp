#include "app/UserFiles.h"

#include <QDir>

#include <optional>

#include "platform/AtomicFile.h"
#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo::app {

std::string SuggestedSavePath(QStandardPaths::StandardLocation location, const QString& fileName) {
  QString folder = QStandardPaths::writableLocation(location);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return (folder + QLatin1Char('/') + fileName).toStdString();
}

void SaveUserFile(const std::string& path, std::string_view bytes) {
  if (const std::optional<std::string> reason = platform::WriteFileAtomically(path, bytes))
    throw Exception(messages::FormatMessage(messages::kUnableToWrite, path) + " (" + *reason + ")");
}

}  // namespace tavimo::app
