#pragma once
// Starting other programs and opening addresses (web, mailto, messenger).
// Failures stay silent: the caller never learns whether anything opened.

#include <string>
#include <vector>

namespace tavimo::app {

class TShell {
 public:
  virtual ~TShell() = default;
  virtual void OpenAddress(const std::string& address) = 0;
  virtual void StartCalculator() = 0;
};

// The desktop's handlers (QDesktopServices) and the first calculator on PATH.
class TDesktopShell : public TShell {
 public:
  void OpenAddress(const std::string& address) override;
  void StartCalculator() override;
};

// The calculators tried, in order of preference.
const std::vector<std::string>& CalculatorPrograms();

// The full path of the first calculator found on PATH; empty when none is.
std::string FindCalculator();

}  // namespace tavimo::app
