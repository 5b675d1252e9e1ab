#include "confluence/ConfluenceText.h"

#include "calc/ComputeMode.h"
#include "runtime/Json.h"
#include "runtime/CsvWriter.h"
#include "calc/LevelView.h"

#include <string_view>

namespace tavimo {

namespace {

// The zones are swept on the computed levels, so only the text is shown.
std::string MarkText(double level, const PriceTick* tick, TickRounding rounding,
                     const NumberFormatSettings& settings) {
  return ShowLevel(level, tick, rounding, settings).mark;
}

// The zone's fields that every csv record and HTML row repeats.
std::string CsvZoneFields(std::size_t index, const ConfluenceZoneRow& zone) {
  return std::to_string(index) + "," + RoundTripNumber(zone.low) + "," + RoundTripNumber(zone.high) + "," +
         std::to_string(zone.waves) + "," + std::to_string(zone.levels);
}

void AppendHtmlCell(std::string& out, std::string_view text) {
  out += "<td>";
  AppendHtmlText(out, text);
  out += "</td>";
}

}  // namespace

std::vector<ConfluenceZoneRow> MakeConfluenceRows(const std::vector<ConfluenceZone>& zones, const RatioList& ratios,
                                                  const PriceTick* tick, TickRounding rounding,
                                                  const NumberFormatSettings& settings) {
  std::vector<ConfluenceZoneRow> rows;
  rows.reserve(zones.size());
  for (const ConfluenceZone& zone : zones) {
    ConfluenceZoneRow row;
    row.low = zone.low;
    row.high = zone.high;
    row.lowText = MarkText(zone.low, tick, rounding, settings);
    row.highText = MarkText(zone.high, tick, rounding, settings);
    row.waves = zone.waves;
    row.levels = zone.members.size();
    row.members.reserve(zone.members.size());
    for (const ConfluenceLevel& member : zone.members) {
      row.members.push_back({member.wave + 1, std::string(ComputeModeName(member.mode)), ratios.at(member.ratio),
                             member.level, MarkText(member.level, tick, rounding, settings)});
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string FormatConfluenceRows(OutputFormat format, long double tolerancePercent,
                                 const std::vector<ConfluenceZoneRow>& zones) {
  std::string out;
  switch (format) {
    case OutputFormat::Text:
      for (const ConfluenceZoneRow& zone : zones) {
        out += zone.lowText + "\u2013" + zone.highText + "\t" + std::to_string(zone.waves) + "\t" +
               std::to_string(zone.levels) + "\n";
        for (const ConfluenceMemberRow& member : zone.members)
          out += "\t" + std::to_string(member.wave) + "\t" + member.mode + "\t" + member.ratio + "\t" + member.text +
                 "\n";
      }
      break;
    case OutputFormat::Csv:
      out = "zone,low,high,waves,levels,wave,mode,ratio,level,text\r\n";
      for (std::size_t z = 0; z < zones.size(); ++z) {
        const std::string zoneFields = CsvZoneFields(z + 1, zones[z]);
        for (const ConfluenceMemberRow& member : zones[z].members)
          out += zoneFields + "," + std::to_string(member.wave) + "," + CsvField(member.mode) + "," +
                 CsvField(member.ratio) + "," + RoundTripNumber(member.level) + "," + CsvField(member.text) + "\r\n";
      }
      break;
    case OutputFormat::Json: {
      // One zone per line block and one member per line, so the output reads
      // well in a terminal and still parses as one document.
      JsonWriter json(JsonSpacing::Spaced);
      json.BeginObject().Key("tolerance").Number(static_cast<double>(tolerancePercent)).Key("zones").BeginArrayOfLines();
      for (const ConfluenceZoneRow& zone : zones) {
        json.BeginObject().Key("low").Number(zone.low).Key("high").Number(zone.high);
        json.Key("low_text").String(zone.lowText).Key("high_text").String(zone.highText);
        json.Key("waves").Int(static_cast<long long>(zone.waves)).Key("levels").Int(static_cast<long long>(zone.levels));
        json.Key("members").BeginArrayOfLines();
        for (const ConfluenceMemberRow& member : zone.members) {
          json.BeginObject().Key("wave").Int(static_cast<long long>(member.wave)).Key("mode").String(member.mode);
          json.Key("ratio").String(member.ratio).Key("level").Number(member.level).Key("text").String(member.text);
          json.EndObject();
        }
        json.EndArray().EndObject();
      }
      out = json.EndArray().EndObject().Text() + "\n";
      break;
    }
  }
  return out;
}

std::string ConfluenceRowsHtmlTable(const std::vector<ConfluenceZoneRow>& zones) {
  std::string out = "<html><head><meta charset=\"utf-8\"></head><body><table>\n<tr>";
  // The last cell holds the member's mark text, headed as the csv's text column.
  for (std::string_view heading : {"zone", "low", "high", "waves", "levels", "wave", "mode", "ratio", "text"}) {
    out += "<th>";
    out += heading;
    out += "</th>";
  }
  out += "</tr>\n";
  for (std::size_t z = 0; z < zones.size(); ++z) {
    const ConfluenceZoneRow& zone = zones[z];
    for (const ConfluenceMemberRow& member : zone.members) {
      out += "<tr>";
      AppendHtmlCell(out, std::to_string(z + 1));
      AppendHtmlCell(out, zone.lowText);
      AppendHtmlCell(out, zone.highText);
      AppendHtmlCell(out, std::to_string(zone.waves));
      AppendHtmlCell(out, std::to_string(zone.levels));
      AppendHtmlCell(out, std::to_string(member.wave));
      AppendHtmlCell(out, member.mode);
      AppendHtmlCell(out, member.ratio);
      AppendHtmlCell(out, member.text);
      out += "</tr>\n";
    }
  }
  out += "</table></body></html>\n";
  return out;
}

}  // namespace tavimo
