// Faults the fuzz harnesses found, kept as plain tests.

#include <gtest/gtest.h>

#include <cstdint>

#include "RobustnessSupport.h"
#include "X87State.h"
#include "platform/ProfileFile.h"
#include "runtime/DecimalDigits.h"
#include "runtime/ExtendedBits.h"
#include "runtime/NumberFormat.h"
#include "runtime/NumberParse.h"

namespace tavimo {
namespace {

using robustness::ReadBytes;
using robustness::ScratchDirectory;
using robustness::WriteBytes;

// A value with blanks in front used to gain one more blank after "=" with
// every save of it.
TEST(FuzzFindings, SavingAValueWithLeadingBlanksAgainChangesNothing) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[other]\nx=1");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", " \"q\" "));
  const std::string once = ReadBytes(path);
  EXPECT_EQ(once, "[other]\nx=1\n[tvmo]\nnum= \"q\" \n");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", " \"q\" "));
  EXPECT_EQ(ReadBytes(path), once);
  EXPECT_EQ(platform::ReadProfileString(path, "tvmo", "num", ""), "q");
}

TEST(FuzzFindings, BlanksAfterTheEqualsSignStayForAPlainValue) {
  ScratchDirectory directory;
  const std::string path = directory.File("data.ini");
  WriteBytes(path, "[tvmo]\nnum =  0.5\n");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", "1/3"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum =  1/3\n");
  ASSERT_TRUE(platform::WriteProfileString(path, "tvmo", "num", "\t2/3"));
  EXPECT_EQ(ReadBytes(path), "[tvmo]\nnum =\t2/3\n");
}

// An unnormal 80-bit value (exponent set, integer bit clear) used to raise
// the invalid flag and leave it behind when the caller's inexact flag was
// already set.
TEST(FuzzFindings, UnnormalValuePrintsAsNanAndLeavesTheFlagsAlone) {
  long double unnormal = ExtendedFromBits({0x0000000900000000u, 0x4000});
  // Opaque, so that no compiler folds the bit pattern into a value of its own.
  asm volatile("" : "+m"(unnormal));
  for (std::uint16_t flags : {0x00, 0x20, 0x38}) {
    fuzz::SetX87Flags(flags);
    const fuzz::X87State before = fuzz::ReadX87State();
    EXPECT_EQ(ToDecimalDigits(unnormal, 18, 9999).exponent, DecimalDigits::kNaN);
    EXPECT_EQ(FormatFloatGeneral(unnormal, 15), "NAN");
    EXPECT_EQ(FormatFloatPattern("#,##0.###", unnormal), "NAN");
    EXPECT_TRUE(fuzz::ReadX87State() == before) << "caller flags " << flags;
  }
  fuzz::SetX87Flags(0);
}

// A text whose value is an 80-bit denormal used to leave the denormal flag
// raised when the optimiser redid a test on the value after the
// floating-point state had been put back.
TEST(FuzzFindings, DenormalResultLeavesTheCallersFlagsAsTheyWere) {
  for (const char* text : {"1e-4949", "-3.6e-4940", "1e-4999"}) {
    for (std::uint16_t flags = 0; flags < 0x40; flags += 0x09) {
      fuzz::SetX87Flags(flags);
      const fuzz::X87State before = fuzz::ReadX87State();
      long double value = 1;
      EXPECT_TRUE(ScanFloatText(text, value));
      EXPECT_TRUE(fuzz::ReadX87State() == before) << text << " with caller flags " << flags;
    }
  }
  fuzz::SetX87Flags(0);
}

}  // namespace
}  // namespace tavimo
