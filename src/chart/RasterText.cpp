// Text: fonts and laid-out texts are cached, each text's ink is rendered once
// and then copied into the image in the font's colour.

#include <QPainter>
#include <QString>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <memory>

#include "chart/RasterCanvasInternal.h"
#include "chart/RasterFonts.h"

namespace tavimo::chart {

using raster::InkSpan;
using raster::ToQRgb;

namespace {

// Fonts that differ only in colour share their glyphs.
bool SameGlyphs(const TFont& a, const TFont& b) {
  return a.face == b.face && a.PixelSize() == b.PixelSize() && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut;
}

// The cache key of a font's glyphs at a device pixel size: what SameGlyphs
// compares, and that size.
std::string FontKey(const TFont& f, int devicePixelSize) {
  std::string key = f.face;
  key += '\0';
  key += std::to_string(f.PixelSize());
  key += '@';
  key += std::to_string(devicePixelSize);
  key += f.bold ? 'b' : '-';
  key += f.italic ? 'i' : '-';
  key += f.underline ? 'u' : '-';
  key += f.strikeOut ? 's' : '-';
  return key;
}

// Laid-out texts kept per font; a chart has a few dozen, a cap keeps a long
// session of changing values from growing the cache without bound.
constexpr std::size_t kMaxCachedTexts = 4096;

// The pixel size MakeQFont gives a chart font.
int DesignPixelSize(const TFont& f) { return f.PixelSize() > 0 ? f.PixelSize() : 1; }

QFont AliasedFont(const TFont& f, int pixelSize) {
  TFont sized = f;
  sized.height = -pixelSize;
  QFont q = MakeQFont(sized);
  q.setStyleStrategy(QFont::NoAntialias);
  return q;
}

}  // namespace

TRasterCanvas::FontEntry::FontEntry(const TFont& f, int devicePixelSize)
    : source(f),
      devicePixelSize(devicePixelSize),
      font(AliasedFont(f, devicePixelSize)),
      metrics(font),
      scaled(devicePixelSize != DesignPixelSize(f)),
      designMetrics(scaled ? QFontMetrics(AliasedFont(f, DesignPixelSize(f))) : metrics) {
  const TLineMetrics line = LineMetrics(font);
  ascent = line.ascent;
  descent = line.descent;
  const TLineMetrics design = scaled ? LineMetrics(AliasedFont(f, DesignPixelSize(f))) : line;
  designAscent = design.ascent;
  designDescent = design.descent;
}

TRasterCanvas::FontEntry& TRasterCanvas::CurrentFont() {
  const int devicePixelSize = std::max(1, Scaled(DesignPixelSize(Font())));
  if (currentFont_ == nullptr || currentFont_->devicePixelSize != devicePixelSize ||
      !SameGlyphs(currentFont_->source, Font())) {
    auto& slot = fonts_[FontKey(Font(), devicePixelSize)];
    if (!slot) slot = std::make_unique<FontEntry>(Font(), devicePixelSize);
    currentFont_ = slot.get();
  }
  return *currentFont_;
}

TRasterCanvas::TextEntry& TRasterCanvas::Layout(FontEntry& font, std::string_view text) {
  if (auto it = font.texts.find(text); it != font.texts.end()) return it->second;
  if (font.texts.size() >= kMaxCachedTexts) font.texts.clear();

  TextEntry entry;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  entry.width = font.designMetrics.horizontalAdvance(s);
  entry.deviceWidth = font.scaled ? font.metrics.horizontalAdvance(s) : entry.width;
  if (!s.isEmpty()) {
    QTextLayout layout(s, font.font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (line.isValid()) {
      line.setPosition(QPointF(0, 0));
      const qreal ascent = line.ascent();
      const QList<QGlyphRun> runs = layout.glyphRuns();
      entry.runs.assign(runs.begin(), runs.end());
      for (QGlyphRun& run : entry.runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions) p.ry() -= ascent;
        run.setPositions(positions);
      }
    }
  }
  return font.texts.emplace(std::string(text), std::move(entry)).first->second;
}

int TRasterCanvas::MeasureWidth(std::string_view text) { return Layout(CurrentFont(), text).width; }

int TRasterCanvas::MeasureHeight(std::string_view) {
  const FontEntry& f = CurrentFont();
  return f.designAscent + f.designDescent;
}

void TRasterCanvas::RenderInk(const FontEntry& font, TextEntry& text) {
  text.inkReady = true;
  if (text.runs.empty()) return;
  // Room for glyphs that reach beyond the cell (italic overhang, negative bearings).
  const int height = font.ascent + font.descent;
  const int marginX = height + 4;
  const int marginY = height / 2 + 4;
  QImage scratch(text.deviceWidth + 2 * marginX, height + 2 * marginY, QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setPen(Qt::black);
    for (const QGlyphRun& run : text.runs) p.drawGlyphRun(QPointF(marginX, marginY + font.ascent), run);
  }
  for (int y = 0; y < scratch.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    for (int x = 0; x < scratch.width();) {
      if (qAlpha(row[x]) < 128) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < scratch.width() && qAlpha(row[x]) >= 128) ++x;
      text.ink.push_back({start - marginX, y - marginY - font.ascent, x - start});
    }
  }
}

void TRasterCanvas::PutText(int x, int y, std::string_view text) {
  FontEntry& f = CurrentFont();
  TextEntry& t = Layout(f, text);
  // The cell in design pixels, as the text measures; the glyphs of the
  // device size sit on its scaled baseline and align by their own advance.
  const int height = f.designAscent + f.designDescent;
  int top = y;
  const int anchor = TextAnchor();
  if ((anchor & 24) == 24)  // baseline
    top = y - f.designAscent;
  else if ((anchor & kTextAlignBottom) == kTextAlignBottom)
    top = y - height;
  int left = Device(x);
  if ((anchor & kTextAlignCenter) == kTextAlignCenter)
    left -= t.deviceWidth / 2;
  else if ((anchor & kTextAlignCenter) == kTextAlignRight)
    left -= t.deviceWidth;

  if (!EnsurePainter()) return;
  if (BackgroundMode() == TBackgroundMode::bmOpaque)
    FillSolid({left, Device(top), left + t.deviceWidth, Device(top + height)}, ToQRgb(BackgroundColor()));
  const Rect area = DrawableArea();
  if (t.runs.empty() || Font().color == clNone || area.IsEmpty()) return;
  if (!t.inkReady) RenderInk(f, t);
  const QRgb color = ToQRgb(Font().color);
  const int baseline = Device(top + f.designAscent);
  for (const InkSpan& span : t.ink) {
    const int row = baseline + span.y;
    if (row < area.top || row >= area.bottom) continue;
    const int from = std::max(left + span.x, area.left);
    const int to = std::min(left + span.x + span.length, area.right);
    if (from < to) std::fill(reinterpret_cast<QRgb*>(bits_ + row * stride_) + from,
                             reinterpret_cast<QRgb*>(bits_ + row * stride_) + to, color);
  }
}

}  // namespace tavimo::chart
