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

// The cache key of a font's glyphs: what SameGlyphs compares.
std::string FontKey(const TFont& f) {
  std::string key = f.face;
  key += '\0';
  key += std::to_string(f.PixelSize());
  key += f.bold ? 'b' : '-';
  key += f.italic ? 'i' : '-';
  key += f.underline ? 'u' : '-';
  key += f.strikeOut ? 's' : '-';
  return key;
}

// Laid-out texts kept per font; a chart has a few dozen, a cap keeps a long
// session of changing values from growing the cache without bound.
constexpr std::size_t kMaxCachedTexts = 4096;

QFont AliasedFont(const TFont& f) {
  QFont q = MakeQFont(f);
  q.setStyleStrategy(QFont::NoAntialias);
  return q;
}

}  // namespace

TRasterCanvas::FontEntry::FontEntry(const TFont& f) : source(f), font(AliasedFont(f)), metrics(font) {
  const TLineMetrics line = LineMetrics(font);
  ascent = line.ascent;
  descent = line.descent;
}

TRasterCanvas::FontEntry& TRasterCanvas::CurrentFont() {
  if (currentFont_ == nullptr || !SameGlyphs(currentFont_->source, Font())) {
    auto& slot = fonts_[FontKey(Font())];
    if (!slot) slot = std::make_unique<FontEntry>(Font());
    currentFont_ = slot.get();
  }
  return *currentFont_;
}

TRasterCanvas::TextEntry& TRasterCanvas::Layout(FontEntry& font, std::string_view text) {
  if (auto it = font.texts.find(text); it != font.texts.end()) return it->second;
  if (font.texts.size() >= kMaxCachedTexts) font.texts.clear();

  TextEntry entry;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  entry.width = font.metrics.horizontalAdvance(s);
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
  return f.ascent + f.descent;
}

void TRasterCanvas::RenderInk(const FontEntry& font, TextEntry& text) {
  text.inkReady = true;
  if (text.runs.empty()) return;
  // Room for glyphs that reach beyond the cell (italic overhang, negative bearings).
  const int height = font.ascent + font.descent;
  const int marginX = height + 4;
  const int marginY = height / 2 + 4;
  QImage scratch(text.width + 2 * marginX, height + 2 * marginY, QImage::Format_ARGB32_Premultiplied);
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
      text.ink.push_back({start - marginX, y - marginY, x - start});
    }
  }
}

void TRasterCanvas::PutText(int x, int y, std::string_view text) {
  FontEntry& f = CurrentFont();
  TextEntry& t = Layout(f, text);
  const int height = f.ascent + f.descent;
  int left = x;
  const int anchor = TextAnchor();
  if ((anchor & kTextAlignCenter) == kTextAlignCenter)
    left = x - t.width / 2;
  else if ((anchor & kTextAlignCenter) == kTextAlignRight)
    left = x - t.width;
  int top = y;
  if ((anchor & 24) == 24)  // baseline
    top = y - f.ascent;
  else if ((anchor & kTextAlignBottom) == kTextAlignBottom)
    top = y - height;

  if (!EnsurePainter()) return;
  if (BackgroundMode() == TBackgroundMode::bmOpaque)
    FillSolid({left, top, left + t.width, top + height}, ToQRgb(BackgroundColor()));
  const Rect area = DrawableArea();
  if (t.runs.empty() || Font().color == clNone || area.IsEmpty()) return;
  if (!t.inkReady) RenderInk(f, t);
  const QRgb color = ToQRgb(Font().color);
  for (const InkSpan& span : t.ink) {
    const int row = top + span.y;
    if (row < area.top || row >= area.bottom) continue;
    const int from = std::max(left + span.x, area.left);
    const int to = std::min(left + span.x + span.length, area.right);
    if (from < to) std::fill(reinterpret_cast<QRgb*>(bits_ + row * stride_) + from,
                             reinterpret_cast<QRgb*>(bits_ + row * stride_) + to, color);
  }
}

}  // namespace tavimo::chart
