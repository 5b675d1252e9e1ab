#include "chart/PriceAxis.h"

#include <algorithm>
#include <cmath>

#include "runtime/NumberFormat.h"

namespace tavimo::chart {

namespace {

// More labels than this is no axis a person reads; it also bounds every loop.
constexpr double kMaxLabels = 2000;
// Prices finer than this many decimals are not labelled more finely.
constexpr int kMaxDecimals = 12;

struct Tick {
  double price = 0;
  int decimals = 0;
  int y = 0;
};

int PixelPosition(double y) {
  constexpr double kLimit = 1 << 28;
  if (!(y > -kLimit)) return static_cast<int>(-kLimit);  // NaN too
  if (y > kLimit) return static_cast<int>(kLimit);
  return RoundHalfEven(y);
}

// m * 10^exponent as a step and the decimals its multiples need.
struct Step {
  double value = 0;
  int decimals = 0;
};

Step MakeStep(int mantissa, int exponent) {
  return Step{mantissa * std::pow(10.0, exponent), std::clamp(-exponent, 0, kMaxDecimals)};
}

// The smallest step of 1, 2 or 5 times a power of ten not below atLeast, then the ones after it.
class NiceSteps {
 public:
  explicit NiceSteps(double atLeast) {
    exponent_ = static_cast<int>(std::floor(std::log10(atLeast)));
    while (Current().value < atLeast * (1 - 1e-12)) Next();
  }
  Step Current() const { return MakeStep(kMantissas[index_], exponent_); }
  void Next() {
    if (++index_ == 3) {
      index_ = 0;
      ++exponent_;
    }
  }

 private:
  static constexpr int kMantissas[3] = {1, 2, 5};
  int exponent_ = 0;
  int index_ = 0;
};

class LabelChooser {
 public:
  LabelChooser(const TPriceView& view, const Rect& plot, int spacing)
      : view_(view), plot_(plot), spacing_(spacing) {}

  // Multiples of a step from the bottom of the plot up; false beyond kMaxLabels.
  bool Multiples(const Step& step, std::vector<Tick>& ticks) const {
    ticks.clear();
    // The ends come back from logarithms a rounding error off a round price.
    const double first = std::ceil(view_.PriceMin() / step.value - 1e-9);
    const double last = std::floor(view_.PriceMax() / step.value + 1e-9);
    if (!(last - first < kMaxLabels)) return false;
    for (double k = first; k <= last; ++k) Add(k * step.value, step.decimals, ticks);
    return true;
  }

  // Mantissas times the powers of ten 10^(phase + k * decades), from the bottom up.
  bool Decades(std::initializer_list<int> mantissas, int decades, int phase, std::vector<Tick>& ticks) const {
    ticks.clear();
    const int low = static_cast<int>(std::floor(std::log10(view_.PriceMin())));
    const int high = static_cast<int>(std::ceil(std::log10(view_.PriceMax())));
    if (!((high - low) / decades * static_cast<double>(mantissas.size()) < kMaxLabels)) return false;
    for (int e = low - FloorMod(low - phase, decades); e <= high; e += decades)
      for (int m : mantissas) {
        const Step step = MakeStep(m, e);
        if (view_.PriceMin() <= step.value && step.value <= view_.PriceMax()) Add(step.value, step.decimals, ticks);
      }
    return true;
  }

  bool KeepsGap(const std::vector<Tick>& ticks) const {
    for (std::size_t i = 1; i < ticks.size(); ++i)
      if (std::abs(ticks[i].y - ticks[i - 1].y) < spacing_) return false;
    return true;
  }

  // The first of the linear steps from the estimate on that keeps the gap
  // (rounding to pixels can bring two labels a pixel closer than the step).
  void Linear(double atLeast, std::vector<Tick>& best) const {
    if (!(atLeast > 0) || !std::isfinite(atLeast)) return;
    std::vector<Tick> ticks;
    NiceSteps steps(atLeast);
    for (int tries = 0; tries < 6; ++tries, steps.Next()) {
      if (Multiples(steps.Current(), ticks) && KeepsGap(ticks)) {
        Offer(ticks, best);
        return;
      }
    }
  }

  // Keeps the candidate with the most labels.
  static void Offer(std::vector<Tick>& ticks, std::vector<Tick>& best) {
    if (ticks.size() > best.size()) best.swap(ticks);
  }

 private:
  static int FloorMod(int a, int b) { return ((a % b) + b) % b; }

  void Add(double price, int decimals, std::vector<Tick>& ticks) const {
    const int y = PixelPosition(view_.PriceToY(price, plot_));
    if (y >= plot_.top && y < plot_.bottom) ticks.push_back(Tick{price, decimals, y});
  }

  const TPriceView& view_;
  const Rect& plot_;
  int spacing_;
};

std::string PriceText(const Tick& tick) {
  std::string pattern = "#,##0";
  if (tick.decimals > 0) pattern += "." + std::string(static_cast<std::size_t>(tick.decimals), '0');
  // A multiple of 0 is 0, never -0.
  return FormatFloatPattern(pattern, tick.price == 0 ? 0.0L : static_cast<long double>(tick.price));
}

}  // namespace

std::vector<TPriceLabel> ChoosePriceLabels(const TPriceView& view, const Rect& plot, int labelHeight,
                                           int minimumGap) {
  std::vector<TPriceLabel> labels;
  const int height = plot.Height();
  if (height <= 0) return labels;
  const int spacing = std::max(labelHeight + minimumGap, 1);
  const LabelChooser chooser(view, plot, spacing);
  const double lo = view.PriceMin(), hi = view.PriceMax();
  std::vector<Tick> best;
  if (view.Scale() == TPriceScale::Linear) {
    chooser.Linear(spacing * (hi - lo) / height, best);
  } else if (lo > 0) {
    // Prices crowd most at the top, where a price unit takes the fewest pixels.
    chooser.Linear(spacing * std::log(hi / lo) * hi / height, best);
    std::vector<Tick> ticks;
    if (chooser.Decades({1, 2, 5}, 1, 0, ticks) && chooser.KeepsGap(ticks)) LabelChooser::Offer(ticks, best);
    // The powers of ten every so many decades: the first spacing that keeps
    // the gap, in the phase that shows the most of them.
    for (int decades : {1, 2, 3, 5, 10, 20, 50, 100}) {
      bool kept = false;
      for (int phase = 0; phase < decades && phase < 10; ++phase) {
        if (chooser.Decades({1}, decades, phase, ticks) && chooser.KeepsGap(ticks)) {
          LabelChooser::Offer(ticks, best);
          kept = true;
        }
      }
      if (kept) break;
    }
  }
  // From the top down.
  for (auto it = best.rbegin(); it != best.rend(); ++it) labels.push_back(TPriceLabel{it->price, it->y, PriceText(*it)});
  return labels;
}

}  // namespace tavimo::chart
