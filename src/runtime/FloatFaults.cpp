#include "runtime/FloatFaults.h"

#include <cmath>

#include "runtime/Exceptions.h"
#include "runtime/Messages.h"

namespace tavimo {

double StoreAsDouble(long double value) {
  if (std::isnan(value)) throw EInvalidOp(std::string(messages::kInvalidOp));
  const double stored = static_cast<double>(value);
  // An infinite result from a finite value is the overflow the x87 store reports.
  if (std::isinf(stored) && !std::isinf(value)) throw EOverflow(std::string(messages::kOverflow));
  if (std::isinf(value)) throw EOverflow(std::string(messages::kOverflow));
  return stored;
}

long double DivideChecked(long double a, long double b) {
  if (b == 0.0L) {
    if (a == 0.0L || std::isnan(a)) throw EInvalidOp(std::string(messages::kInvalidOp));
    throw EZeroDivide(std::string(messages::kZeroDivide));
  }
  const long double quotient = a / b;
  // The faults the FPU reports for the division itself: infinity over
  // infinity, and a quotient beyond the extended range.
  if (std::isnan(quotient) && !std::isnan(a) && !std::isnan(b)) throw EInvalidOp(std::string(messages::kInvalidOp));
  if (std::isinf(quotient) && std::isfinite(a) && std::isfinite(b)) throw EOverflow(std::string(messages::kOverflow));
  return quotient;
}

}  // namespace tavimo
