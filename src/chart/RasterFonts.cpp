#include "chart/RasterFonts.h"

#include <QFontMetrics>
#include <QRawFont>
#include <QString>
#include <cmath>
#include <array>
#include <utility>

namespace tavimo::chart {

namespace {

struct FaceAlias {
  std::string_view face;
  const char* family;
};

// Faces the program's windows name, with the Debian family that stands in
// for each (fonts-liberation, fonts-arphic-uming).
constexpr std::array<FaceAlias, 9> kFaceAliases{{
    {"Arial", "Liberation Sans"},
    {"MS Sans Serif", "Liberation Sans"},
    {"Tahoma", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Fixedsys", "Liberation Mono"},
    {"宋体", "AR PL UMing CN"},
    {"SimSun", "AR PL UMing CN"},
    {"新宋体", "AR PL UMing CN"},
}};

}  // namespace

QStringList FaceFamilies(std::string_view face) {
  // A leading '@' asks for the vertical-writing variant of a face; the glyphs
  // are the same face's.
  if (!face.empty() && face.front() == '@') face.remove_prefix(1);
  QStringList families;
  for (const FaceAlias& alias : kFaceAliases) {
    if (alias.face == face) {
      families << QString::fromUtf8(alias.family);
      break;
    }
  }
  if (!face.empty()) families << QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
  // CJK text in a Latin face still finds Song-style glyphs before anything else.
  families << QStringLiteral("AR PL UMing CN");
  families.removeDuplicates();
  return families;
}

QFont MakeQFont(const TFont& font) {
  QFont q;
  q.setFamilies(FaceFamilies(font.face));
  q.setPixelSize(font.PixelSize() > 0 ? font.PixelSize() : 1);
  q.setBold(font.bold);
  q.setItalic(font.italic);
  q.setUnderline(font.underline);
  q.setStrikeOut(font.strikeOut);
  q.setKerning(false);
  q.setHintingPreference(QFont::PreferFullHinting);
  q.setStyleStrategy(QFont::NoSubpixelAntialias);
  return q;
}

TLineMetrics LineMetrics(const QFont& font) {
  const QFontMetrics fm(font);
  TLineMetrics metrics{fm.ascent(), fm.descent()};
  const QRawFont raw = QRawFont::fromFont(font);
  if (!raw.isValid()) return metrics;
  const QByteArray os2 = raw.fontTable("OS/2");
  const qreal unitsPerEm = raw.unitsPerEm();
  if (os2.size() < 78 || unitsPerEm <= 0) return metrics;
  const auto u16 = [&os2](int offset) {
    return static_cast<int>((static_cast<unsigned char>(os2[offset]) << 8) | static_cast<unsigned char>(os2[offset + 1]));
  };
  const int winAscent = u16(74);
  const int winDescent = u16(76);
  if (winAscent + winDescent <= 0) return metrics;
  const qreal scale = raw.pixelSize() / unitsPerEm;
  // A small allowance keeps exact multiples from rounding up through float error.
  metrics.ascent = static_cast<int>(std::ceil(winAscent * scale - 1e-6));
  metrics.descent = static_cast<int>(std::ceil(winDescent * scale - 1e-6));
  return metrics;
}

}  // namespace tavimo::chart
