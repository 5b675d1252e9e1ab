#include "chart/RecordingCanvas.h"

#include "runtime/Utf8.h"

namespace tavimo::chart {

int RecordingCanvas::CharacterWidth(const TFont& font, bool ascii) {
  const int size = font.PixelSize();
  return ascii ? size / 2 : size;
}

int RecordingCanvas::LineHeight(const TFont& font) { return font.PixelSize() * 9 / 8; }

int RecordingCanvas::TextWidth(const TFont& font, std::string_view text) {
  int width = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i))
    width += CharacterWidth(font, static_cast<unsigned char>(text[i]) < 0x80);
  return width;
}

TCanvasRecord& RecordingCanvas::Add(TCanvasOp op) {
  records_.emplace_back();
  TCanvasRecord& r = records_.back();
  static_cast<TCanvasState&>(r) = State();
  r.op = op;
  r.clip = clip_;
  return r;
}

Rect RecordingCanvas::SetupWindow(int width, int height) {
  imageWidth_ = width;
  imageHeight_ = height;
  clip_.reset();
  const Rect bounds{0, 0, width, height};
  if (recording_) Add(TCanvasOp::SetupWindow).rect = bounds;
  return bounds;
}

void RecordingCanvas::ShowImage() {
  if (recording_) Add(TCanvasOp::ShowImage);
}

void RecordingCanvas::PutText(int x, int y, std::string_view text) {
  if (!recording_) return;
  TCanvasRecord& r = Add(TCanvasOp::PutText);
  r.x0 = x;
  r.y0 = y;
  r.text.assign(text);
}

int RecordingCanvas::MeasureWidth(std::string_view text) { return TextWidth(Font(), text); }

int RecordingCanvas::MeasureHeight(std::string_view) { return LineHeight(Font()); }

void RecordingCanvas::DrawBox(const Rect& r) {
  if (recording_) Add(TCanvasOp::DrawBox).rect = r;
}

void RecordingCanvas::FillRect(const Rect& r) {
  if (recording_) Add(TCanvasOp::FillRect).rect = r;
}

void RecordingCanvas::StrokeLine(int x0, int y0, int x1, int y1) {
  if (!recording_) return;
  TCanvasRecord& r = Add(TCanvasOp::StrokeLine);
  r.x0 = x0;
  r.y0 = y0;
  r.x1 = x1;
  r.y1 = y1;
}

void RecordingCanvas::FillPolygon(const Point* points, int count) {
  if (!recording_) return;
  Add(TCanvasOp::FillPolygon).points.assign(points, points + count);
}

void RecordingCanvas::ClipTo(const Rect& r) {
  clip_ = clip_ ? clip_->Intersected(r) : r;
  if (recording_) Add(TCanvasOp::ClipTo).rect = r;
}

void RecordingCanvas::ClearClip() {
  clip_.reset();
  if (recording_) Add(TCanvasOp::ClearClip);
}

std::vector<const TCanvasRecord*> RecordingCanvas::OfKind(TCanvasOp op) const {
  std::vector<const TCanvasRecord*> out;
  for (const TCanvasRecord& r : records_)
    if (r.op == op) out.push_back(&r);
  return out;
}

int RecordingCanvas::Count(TCanvasOp op) const {
  int n = 0;
  for (const TCanvasRecord& r : records_)
    if (r.op == op) ++n;
  return n;
}

}  // namespace tavimo::chart
