#pragma once
// Floating-point faults detected where they arise: an extended value stored
// as a double, and a division. Underflow and inexact results never raise.

namespace tavimo {

// Rounds to the nearest double; raises EOverflow when the result leaves the
// double range and EInvalidOp for a NaN.
double StoreAsDouble(long double value);

// a / b in extended precision; raises EZeroDivide for a non-zero a over zero
// and EInvalidOp for zero over zero.
long double DivideChecked(long double a, long double b);

}  // namespace tavimo
