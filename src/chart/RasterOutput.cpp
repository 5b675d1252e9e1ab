#include "chart/RasterOutput.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImageWriter>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "chart/RasterCanvas.h"

namespace tavimo::chart {

void EnsureRasterFonts() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Outside a desktop session there is no runtime directory; give Qt the private
  // one it would fall back to, so a command-line run prints no warning about it.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const std::string runtimeDirectory = "/tmp/runtime-" + std::to_string(getuid());
    struct stat info {};
    if (mkdir(runtimeDirectory.c_str(), 0700) == 0 ||
        (lstat(runtimeDirectory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 0077) == 0)) {
      qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtimeDirectory));
    }
  }
  static int argc = 1;
  static char name[] = "tavimo-cli";
  static char* argv[] = {name, nullptr};
  // Lives to the end of the process, as an application object does.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
}

std::unique_ptr<TCanvas> MakeRasterCanvas() { return std::make_unique<TRasterCanvas>(); }

std::string EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image))
    throw std::runtime_error("cannot encode the chart as PNG: " + writer.errorString().toStdString());
  return bytes.toStdString();
}

std::string EncodePng(const TCanvas& canvas) {
  const auto* raster = dynamic_cast<const TRasterCanvas*>(&canvas);
  if (raster == nullptr) throw std::invalid_argument("EncodePng: not a raster canvas");
  return EncodePng(raster->Image());
}

}  // namespace tavimo::chart
