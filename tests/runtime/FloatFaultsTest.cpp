// Floating-point faults raised where they arise: storing as a double and
// dividing; underflow and inexact results never raise.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"

namespace tavimo {
namespace {

template <typename Raised, typename Call>
void ExpectRaised(Call call, const char* message) {
  try {
    call();
    ADD_FAILURE() << "nothing raised, expected " << message;
  } catch (const Raised& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

TEST(StoreAsDouble, RoundsToTheNearestDouble) {
  EXPECT_EQ(StoreAsDouble(0.1L), 0.1);
  EXPECT_EQ(StoreAsDouble(1.0L + 0x1p-60L), 1.0);
  EXPECT_EQ(StoreAsDouble(static_cast<long double>(DBL_MAX)), DBL_MAX);
}

TEST(StoreAsDouble, BeyondTheDoubleRangeRaisesOverflow) {
  ExpectRaised<EOverflow>([] { StoreAsDouble(1e500L); }, "Floating point overflow");
  ExpectRaised<EOverflow>([] { StoreAsDouble(-1e309L); }, "Floating point overflow");
  // Just above the largest double, but rounding down to it: no overflow.
  EXPECT_EQ(StoreAsDouble(static_cast<long double>(DBL_MAX) * (1.0L + 0x1p-60L)), DBL_MAX);
}

TEST(StoreAsDouble, UnderflowGivesDenormalsOrZeroSilently) {
  EXPECT_EQ(StoreAsDouble(1e-320L), 1e-320);
  EXPECT_EQ(StoreAsDouble(1e-4000L), 0.0);
  EXPECT_EQ(StoreAsDouble(-1e-4000L), 0.0);
  EXPECT_TRUE(std::signbit(StoreAsDouble(-1e-4000L)));
}

TEST(DivideChecked, FaultsCarryTheirClassAndMessage) {
  ExpectRaised<EZeroDivide>([] { DivideChecked(1.0L, 0.0L); }, "Floating point division by zero");
  ExpectRaised<EZeroDivide>([] { DivideChecked(-3.0L, -0.0L); }, "Floating point division by zero");
  ExpectRaised<EInvalidOp>([] { DivideChecked(0.0L, 0.0L); }, "Invalid floating point operation");
  const long double inf = std::numeric_limits<long double>::infinity();
  ExpectRaised<EInvalidOp>([inf] { DivideChecked(inf, inf); }, "Invalid floating point operation");
  ExpectRaised<EOverflow>([] { DivideChecked(1e4000L, 1e-4000L); }, "Floating point overflow");
}

TEST(DivideChecked, OrdinaryAndUnderflowingQuotients) {
  EXPECT_EQ(DivideChecked(1.0L, 4.0L), 0.25L);
  EXPECT_EQ(DivideChecked(1.0L, 3.0L), 1.0L / 3.0L);
  EXPECT_EQ(DivideChecked(1e-4000L, 1e4000L), 0.0L);
  EXPECT_EQ(DivideChecked(0.0L, 5.0L), 0.0L);
}

}  // namespace
}  // namespace tavimo
