#pragma once
// What the user takes out of a window: the files saved (the chart's picture,
// the zones' CSV), where the save dialog first points and the write itself,
// and the rows copied.

#include <QStandardPaths>
#include <QString>

class QImage;

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

// Writes image as a PNG file at path, as SaveUserFile writes. An image that
// cannot be encoded raises the same Exception with the encoder's reason, and
// the file at path is not touched.
void SaveUserPicture(const std::string& path, const QImage& image);

// Puts rows on the clipboard as plain text and as an HTML table (both UTF-8).
void CopyTextAndHtml(const std::string& text, const std::string& html);

}  // namespace tavimo::app
