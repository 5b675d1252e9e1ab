#pragma once
// The files the user saves from a window (the chart's picture, the zones'
// CSV): where the save dialog first points, and the write itself.

#include <QStandardPaths>
#include <QString>

#include <string>
#include <string_view>

namespace tavimo::app {

// fileName in the user's folder of that kind, or in the home folder when the
// system names none or it does not exist.
std::string SuggestedSavePath(QStandardPaths::StandardLocation location, const QString& fileName);

// Writes bytes as the file at path, whole or not at all (temporary file and
// rename, as the settings file is written). Raises Exception
// "Unable to write to <path> (<reason>)"; the old file then stays as it was.
void SaveUserFile(const std::string& path, std::string_view bytes);

}  // namespace tavimo::app
