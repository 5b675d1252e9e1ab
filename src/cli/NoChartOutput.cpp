// RenderChart for a build without the raster canvas (no Qt): the chart
// options parse as always, and asking for the chart is a plain failure.
#include "cli/ChartOutput.h"

namespace tavimo::cli {

ChartOutcome RenderChart(const ChartRequest&, const std::vector<std::string>&, const std::vector<double>*,
                         const std::vector<std::string>&) {
  ChartOutcome outcome;
  outcome.error = "tavimo-cli: this build has no chart output";
  return outcome;
}

ChartOutcome RenderPriceChart(const ChartRequest&, const PriceChartPicture&) {
  ChartOutcome outcome;
  outcome.error = "tavimo-cli: this build has no chart output";
  return outcome;
}

ChartOutcome RenderHistogram(const ChartRequest&, const chart::DepthHistogramInput&) {
  ChartOutcome outcome;
  outcome.error = "tavimo-cli: this build has no chart output";
  return outcome;
}

}  // namespace tavimo::cli
