#include "chart/LayoutReportJson.h"

#include "runtime/Json.h"

namespace tavimo::chart {

namespace {

void WritePoint(JsonWriter& w, const Point& p) { w.BeginArray().Int(p.x).Int(p.y).EndArray(); }

void WriteRect(JsonWriter& w, const Rect& r) {
  w.BeginArray().Int(r.left).Int(r.top).Int(r.right).Int(r.bottom).EndArray();
}

void WriteAxis(JsonWriter& w, const TAxisLayoutRecord& a) {
  w.BeginObject();
  w.Key("startPixel").Int(a.startPixel);
  w.Key("endPixel").Int(a.endPixel);
  w.Key("workMinimum").Number(a.workMinimum);
  w.Key("workMaximum").Number(a.workMaximum);
  w.Key("labelsPos").Int(a.labelsPos);
  w.Key("axisLinePos").Int(a.axisLinePos);
  w.Key("shown").Bool(a.shown);
  w.EndObject();
}

void WriteLabel(JsonWriter& w, const TAxisLabelRecord& l) {
  w.BeginObject();
  w.Key("text").String(l.text);
  w.Key("pixel").Int(l.pixel);
  w.Key("width").Int(l.width);
  w.Key("height").Int(l.height);
  w.Key("drawn").Bool(l.drawn);
  w.EndObject();
}

void WriteBar(JsonWriter& w, const BarReport& b) {
  w.BeginObject();
  w.Key("index").Int(b.index);
  w.Key("label").String(b.label);
  w.Key("value").Number(b.value);
  w.Key("color").String(ColorToHex(b.color));
  w.Key("top").Int(b.top);
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
  w.Key("titleLineHeight").Int(r.titleLineHeight);
  w.Key("barThickness").Int(r.barThickness);
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
  w.Key("markFont").BeginObject();
  w.Key("lineHeight").Int(r.markLineHeight);
  w.Key("wWidth").Int(r.markWWidth);
  w.EndObject();
  w.EndObject();
  return w.Text();
}

}  // namespace tavimo::chart
