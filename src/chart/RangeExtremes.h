#pragma once
// The lowest and the highest of a sequence's values over any range of its
// indexes, from the values themselves and block summaries built once: the
// lows and highs of blocks of 16, 256, 4096, ... values. A range is read in
// at most 30 steps a level, so a zoomed-out chart reads each pixel
// column's range without walking every bar in it. The block summaries take
// about a fifteenth of the values' count in each of the two arrays.

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tavimo::chart {

class TRangeExtremes {
 public:
  static constexpr std::size_t kFanOut = 16;

  // low(i) and high(i) give value i's low and high (for a bar, its lowest
  // and highest price).
  template <class Low, class High>
  void Build(std::size_t count, Low&& low, High&& high) {
    std::vector<double> lows, highs;
    for (std::size_t b = 0; b * kFanOut < count; ++b) {
      double lo = low(b * kFanOut), hi = high(b * kFanOut);
      for (std::size_t i = b * kFanOut + 1; i < std::min(count, (b + 1) * kFanOut); ++i) {
        lo = std::min(lo, low(i));
        hi = std::max(hi, high(i));
      }
      lows.push_back(lo);
      highs.push_back(hi);
    }
    BuildFromBlocks(count, std::move(lows), std::move(highs));
  }

  // The same from the lows and highs of the first blocks, values 0..15,
  // 16..31, ... (a caller that reads the values once for more than this).
  void BuildFromBlocks(std::size_t count, std::vector<double> lows, std::vector<double> highs) {
    static_assert((kFanOut & (kFanOut - 1)) == 0, "blocks are powers of two");
    levels_.clear();
    count_ = count;
    std::size_t block = kFanOut;
    unsigned shift = 0;
    while ((std::size_t{1} << shift) < kFanOut) ++shift;
    const unsigned fanShift = shift;
    while (lows.size() > 1) {
      std::vector<double> nextLows, nextHighs;
      for (std::size_t b = 0; b < lows.size(); b += kFanOut) {
        double lo = lows[b], hi = highs[b];
        for (std::size_t k = b + 1; k < std::min(lows.size(), b + kFanOut); ++k) {
          lo = std::min(lo, lows[k]);
          hi = std::max(hi, highs[k]);
        }
        nextLows.push_back(lo);
        nextHighs.push_back(hi);
      }
      levels_.push_back({block, shift, std::move(lows), std::move(highs)});
      lows = std::move(nextLows);
      highs = std::move(nextHighs);
      block *= kFanOut;
      shift += fanShift;
    }
    if (!lows.empty()) levels_.push_back({block, shift, std::move(lows), std::move(highs)});
  }

  std::size_t Count() const { return count_; }

  // The first index from `from` on whose high(i) is at least threshold;
  // Count() when none is. Blocks whose highest lies below are skipped whole.
  template <class High>
  std::size_t FindFirstAtLeast(std::size_t from, double threshold, High&& high) const {
    std::size_t i = from;
    while (i < count_) {
      const Level* skip = nullptr;
      for (const Level& level : levels_) {
        if ((i & (level.block - 1)) != 0 || level.highs[i >> level.shift] >= threshold) break;
        skip = &level;
      }
      if (skip != nullptr) {
        i += skip->block;
        continue;
      }
      if (high(i) >= threshold) return i;
      ++i;
    }
    return count_;
  }

  // The lowest low and highest high of values first..last (first <= last < Count()).
  template <class Low, class High>
  void Read(std::size_t first, std::size_t last, Low&& low, High&& high, double& lo, double& hi) const {
    std::size_t i = first;
    const std::size_t end = last + 1;
    lo = low(i);
    hi = high(i);
    while (i < end) {
      // The largest block that starts at i and ends within the range.
      const Level* best = nullptr;
      for (const Level& level : levels_) {
        if ((i & (level.block - 1)) != 0 || i + level.block > end) break;
        best = &level;
      }
      if (best == nullptr) {
        lo = std::min(lo, low(i));
        hi = std::max(hi, high(i));
        ++i;
      } else {
        lo = std::min(lo, best->lows[i >> best->shift]);
        hi = std::max(hi, best->highs[i >> best->shift]);
        i += best->block;
      }
    }
  }

 private:
  struct Level {
    std::size_t block;  // a power of kFanOut
    unsigned shift;     // log2 of block
    std::vector<double> lows, highs;
  };
  std::size_t count_ = 0;
  std::vector<Level> levels_;
};

}  // namespace tavimo::chart
