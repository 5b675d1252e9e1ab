#include "chart/LayoutReportJson.h"

#include "runtime/Json.h"

namespace tavimo::chart {

namespace {

class JsonWriter {
 public:
  std::string& out() { return out_; }

  void String(std::string_view s) { AppendJsonString(out_, s); }

  void Int(long long v) { out_ += std::to_string(v); }

  void Number(double v) { AppendJsonNumber(out_, v); }

  void Bool(bool v) { out_ += v ? "true" : "false"; }
  void Key(std::string_view k) {
    String(k);
    out_ += ':';
  }
  void Point(const chart::Point& p) {
    out_ += '[';
    Int(p.x);
    out_ += ',';
    Int(p.y);
    out_ += ']';
  }
  void RectArray(const Rect& r) {
    out_ += '[';
    Int(r.left);
    out_ += ',';
    Int(r.top);
    out_ += ',';
    Int(r.right);
    out_ += ',';
    Int(r.bottom);
    out_ += ']';
  }

 private:
  std::string out_;
};

void WriteAxis(JsonWriter& w, const AxisLayoutReport& a) {
  std::string& o = w.out();
  o += '{';
  w.Key("startPixel"); w.Int(a.startPixel); o += ',';
  w.Key("endPixel"); w.Int(a.endPixel); o += ',';
  w.Key("workMinimum"); w.Number(a.workMinimum); o += ',';
  w.Key("workMaximum"); w.Number(a.workMaximum); o += ',';
  w.Key("labelsPos"); w.Int(a.labelsPos); o += ',';
  w.Key("axisLinePos"); w.Int(a.axisLinePos); o += ',';
  w.Key("shown"); w.Bool(a.shown);
  o += '}';
}

}  // namespace

std::string LayoutReportToJson(const ChartLayoutReport& r) {
  JsonWriter w;
  std::string& o = w.out();
  o += '{';
  w.Key("size");
  o += '[';
  w.Int(r.width);
  o += ',';
  w.Int(r.height);
  o += "],";
  w.Key("plotRect"); w.RectArray(r.plotRect); o += ',';
  w.Key("titleLineHeight"); w.Int(r.titleLineHeight); o += ',';
  w.Key("barThickness"); w.Int(r.barThickness); o += ',';
  w.Key("axes");
  o += '{';
  w.Key("left"); WriteAxis(w, r.leftAxis); o += ',';
  w.Key("bottom"); WriteAxis(w, r.bottomAxis);
  o += "},";
  w.Key("axisLabels");
  o += '[';
  for (std::size_t i = 0; i < r.axisLabels.size(); ++i) {
    const AxisLabelReport& l = r.axisLabels[i];
    if (i > 0) o += ',';
    o += '{';
    w.Key("text"); w.String(l.text); o += ',';
    w.Key("pixel"); w.Int(l.pixel); o += ',';
    w.Key("width"); w.Int(l.width); o += ',';
    w.Key("height"); w.Int(l.height); o += ',';
    w.Key("drawn"); w.Bool(l.drawn);
    o += '}';
  }
  o += "],";
  w.Key("bars");
  o += '[';
  for (std::size_t i = 0; i < r.bars.size(); ++i) {
    const BarReport& b = r.bars[i];
    if (i > 0) o += ',';
    o += '{';
    w.Key("index"); w.Int(b.index); o += ',';
    w.Key("label"); w.String(b.label); o += ',';
    w.Key("value"); w.Number(b.value); o += ',';
    w.Key("color"); w.String(ColorToHex(b.color)); o += ',';
    w.Key("top"); w.Int(b.top); o += ',';
    w.Key("polygon");
    o += '[';
    for (std::size_t k = 0; k < b.polygon.size(); ++k) {
      if (k > 0) o += ',';
      w.Point(b.polygon[k]);
    }
    o += "],";
    w.Key("mark");
    if (!b.mark) {
      o += "null";
    } else {
      o += '{';
      w.Key("text"); w.String(b.mark->text); o += ',';
      w.Key("box"); w.RectArray(b.mark->box); o += ',';
      w.Key("arrow");
      o += '[';
      w.Point(b.mark->arrow[0]);
      o += ',';
      w.Point(b.mark->arrow[1]);
      o += ']';
      o += '}';
    }
    o += '}';
  }
  o += "],";
  w.Key("markFont");
  o += '{';
  w.Key("lineHeight"); w.Int(r.markLineHeight); o += ',';
  w.Key("wWidth"); w.Int(r.markWWidth);
  o += "}}";
  return o;
}

}  // namespace tavimo::chart
