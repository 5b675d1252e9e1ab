// tavimo-cli built without the raster canvas: the chart options still parse,
// and asking for the chart is a failure with its reason, never levels alone.
#include <gtest/gtest.h>

#include "cli/CliRun.h"

namespace tavimo::cli {
namespace {

TEST(NoChartOutput, ChartOptionsFailWithTheReason) {
  const std::vector<std::string> runs[] = {{"--layout", "--ratios", "0.5"},
                                           {"rise", "--low", "10", "--ratios", "0.5", "--png", "chart.png"}};
  for (const std::vector<std::string>& arguments : runs) {
    const CliResult result = RunCli(arguments);
    EXPECT_EQ(result.exitStatus, kExitFailed) << arguments[0];
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "tavimo-cli: this build has no chart output\n");
  }
}

}  // namespace
}  // namespace tavimo::cli
