#pragma once
// A canvas that draws nothing and records every drawing call with its
// coordinates and the drawing state at that moment (so a change of pen, brush
// or font shows in the calls after it), with fixed font metrics so that layouts
// are exact and independent of the installed fonts:
//   width of a text  = sum over its characters (UTF-8 sequences) of
//                      pixel size div 2 for an ASCII character, pixel size otherwise;
//   height of a text = pixel size * 9 div 8 (whatever the text, "" included).
// The pixel size is |height| of a font with a negative height, else its point size at 96 dpi.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/Canvas.h"

namespace tavimo::chart {

enum class TCanvasOp { SetupWindow, ShowImage, PutText, DrawBox, FillRect, StrokeLine, FillPolygon, ClipTo, ClearClip };

// A call and the drawing state when it was made.
struct TCanvasRecord : TCanvasState {
  TCanvasOp op = TCanvasOp::ShowImage;
  Rect rect;                 // SetupWindow (0, 0, w, h), DrawBox, FillRect, ClipTo
  int x0 = 0, y0 = 0;        // PutText position, StrokeLine start
  int x1 = 0, y1 = 0;        // StrokeLine end
  std::vector<Point> points; // FillPolygon
  std::string text;          // PutText
  std::optional<Rect> clip;  // none: unclipped
};

class RecordingCanvas : public TCanvas {
 public:
  static int CharacterWidth(const TFont& font, bool ascii);
  static int LineHeight(const TFont& font);
  static int TextWidth(const TFont& font, std::string_view text);

  TAVIMO_CANVAS_PRIMITIVE_OVERRIDES

  // Off: nothing is recorded (for timing the engine without the log).
  void SetRecording(bool on) { recording_ = on; }
  const std::vector<TCanvasRecord>& Records() const { return records_; }
  void ClearRecords() { records_.clear(); }
  std::vector<const TCanvasRecord*> OfKind(TCanvasOp op) const;
  int Count(TCanvasOp op) const;
  int ImageWidth() const { return imageWidth_; }
  int ImageHeight() const { return imageHeight_; }
  const std::optional<Rect>& Clip() const { return clip_; }

 private:
  TCanvasRecord& Add(TCanvasOp op);

  bool recording_ = true;
  std::vector<TCanvasRecord> records_;
  std::optional<Rect> clip_;
  int imageWidth_ = 0;
  int imageHeight_ = 0;
};

}  // namespace tavimo::chart
