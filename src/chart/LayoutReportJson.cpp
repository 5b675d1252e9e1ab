#include "chart/LayoutReportJson.h"

#include "runtime/Json.h"

namespace tavimo::chart {

namespace {

void WritePoint(JsonWriter& w, const Point& p) { w.BeginArray().Int(p.x).Int(p.y).EndArray(); }

void WriteRect(JsonWriter& w, const Rect& r) {
  w.BeginArray().Int(r.left).Int(r.top).Int(r.right).Int(r.bottom).EndArray();
}

void WriteAxis(JsonWriter& w, const TAxisLayoutRecord& a) {
  w.Object("startPixel", a.startPixel, "endPixel", a.endPixel, "workMinimum", a.workMinimum, "workMaximum",
           a.workMaximum, "labelsPos", a.labelsPos, "axisLinePos", a.axisLinePos, "shown", a.shown);
}

void WriteLabel(JsonWriter& w, const TAxisLabelRecord& l) {
  w.Object("text", l.text, "pixel", l.pixel, "width", l.width, "height", l.height, "drawn", l.drawn);
}

void WriteBar(JsonWriter& w, const BarReport& b) {
  w.BeginObject();
  w.Fields("index", b.index, "label", b.label, "value", b.value, "color", ColorToHex(b.color), "top", b.top);
  w.Key("polygon").BeginArray();
  for (const Point& p : b.polygon) WritePoint(w, p);
  w.EndArray();
  w.Key("mark");
  if (!b.mark) {
    w.Null();
  } else {
    w.BeginObject();
    w.Key("text").String(b.mark->text);
    w.Key("box");
    WriteRect(w, b.mark->box);
    w.Key("arrow").BeginArray();
    WritePoint(w, b.mark->arrow[0]);
    WritePoint(w, b.mark->arrow[1]);
    w.EndArray();
    w.EndObject();
  }
  w.EndObject();
}

}  // namespace

std::string LayoutReportToJson(const ChartLayoutReport& r) {
  JsonWriter w;
  w.BeginObject();
  w.Key("size").BeginArray().Int(r.width).Int(r.height).EndArray();
  w.Key("plotRect");
  WriteRect(w, r.plotRect);
  w.Fields("titleLineHeight", r.titleLineHeight, "barThickness", r.barThickness);
  w.Key("axes").BeginObject();
  w.Key("left");
  WriteAxis(w, r.leftAxis);
  w.Key("bottom");
  WriteAxis(w, r.bottomAxis);
  w.EndObject();
  w.Key("axisLabels").BeginArray();
  for (const TAxisLabelRecord& label : r.axisLabels) WriteLabel(w, label);
  w.EndArray();
  w.Key("bars").BeginArray();
  for (const BarReport& bar : r.bars) WriteBar(w, bar);
  w.EndArray();
  w.Key("markFont").Object("lineHeight", r.markLineHeight, "wWidth", r.markWWidth);
  w.EndObject();
  return w.Text();
}

}  // namespace tavimo::chart
