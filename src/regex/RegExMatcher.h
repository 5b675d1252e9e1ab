#pragma once
// TRegExMatcher holds one regular expression and one subject text, compiles
// the expression on demand and tells whether it occurs in the subject.

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct pcre2_real_code_8;
struct pcre2_real_compile_context_8;
struct pcre2_real_match_context_8;
struct pcre2_real_match_data_8;

namespace tavimo {

enum TRegExMatcherOption { preCaseLess, preMultiLine, preSingleLine, preExtended, preAnchored, preUnGreedy, preNoAutoCapture };

// A set of TRegExMatcherOption values.
class TRegExMatcherOptions {
 public:
  constexpr TRegExMatcherOptions() = default;
  constexpr TRegExMatcherOptions(std::initializer_list<TRegExMatcherOption> options) {
    for (TRegExMatcherOption option : options) Include(option);
  }
  constexpr bool Contains(TRegExMatcherOption option) const { return (bits_ & Bit(option)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TRegExMatcherOptions& Include(TRegExMatcherOption option) {
    bits_ |= Bit(option);
    return *this;
  }
  constexpr TRegExMatcherOptions& Exclude(TRegExMatcherOption option) {
    bits_ &= ~Bit(option);
    return *this;
  }
  friend constexpr bool operator==(TRegExMatcherOptions, TRegExMatcherOptions) = default;

 private:
  static constexpr unsigned Bit(TRegExMatcherOption option) { return 1u << static_cast<unsigned>(option); }
  unsigned bits_ = 0;
};

class TRegExMatcher;
using TNotifyEvent = std::function<void(TRegExMatcher& sender)>;
// Kept for the replacement text; no operation calls it yet.
using TRegExMatcherReplaceEvent = std::function<void(TRegExMatcher& sender, std::string& replacement)>;

class TRegExMatcher {
 public:
  // Offsets vector: 100 pairs of start and end, plus the engine's work area
  // the old interface asked for.
  static constexpr int kOffsetPairs = 100;
  static constexpr int kOffsetCapacity = 301;

  TRegExMatcher();
  ~TRegExMatcher();
  TRegExMatcher(const TRegExMatcher&) = delete;
  TRegExMatcher& operator=(const TRegExMatcher&) = delete;

  TRegExMatcherOptions Options() const { return options_; }
  void SetOptions(TRegExMatcherOptions options);
  const std::string& RegEx() const { return regEx_; }
  void SetRegEx(std::string_view regEx);
  const std::string& Replacement() const { return replacement_; }
  void SetReplacement(std::string_view replacement) { replacement_ = replacement; }
  const TNotifyEvent& OnMatch() const { return onMatch_; }
  void SetOnMatch(TNotifyEvent handler) { onMatch_ = std::move(handler); }
  const TRegExMatcherReplaceEvent& OnReplace() const { return onReplace_; }
  void SetOnReplace(TRegExMatcherReplaceEvent handler) { onReplace_ = std::move(handler); }
  const std::string& Subject() const { return subject_; }
  void SetSubject(std::string_view subject);

  // Compiles RegEx now. Raises Exception when RegEx is empty or invalid; the
  // matcher then holds no pattern and stays usable.
  void Compile();
  // Whether RegEx occurs in Subject, searched from its first byte. Compiles
  // first when needed. Engine failures (match limits included) give false.
  bool Match();

  bool Compiled() const { return compiled_; }
  bool Studied() const { return studied_; }
  // 1-based position after the last match.
  int32_t Start() const { return start_; }
  // The subject's length in bytes.
  int32_t Stop() const { return stop_; }
  // The engine's result of the last search: captured pairs, or a negative code.
  int32_t OffsetCount() const { return offsetCount_; }
  // After a match, 1-based positions: 2i is where pair i starts, 2i+1 the
  // position after its end; 0 for a group that took no part.
  int32_t Offset(int index) const { return offsets_.at(static_cast<size_t>(index)); }
  // The engine's compile option bits for the current Options.
  uint32_t CompileOptions() const { return compileOptions_; }
  // How many times an expression was handed to the engine's compiler.
  int CompileCount() const { return compileCount_; }
  bool GroupsStored() const { return groupsStored_; }
  const std::vector<std::string>& Groups() const { return groups_; }

 private:
  struct EngineDeleter {
    void operator()(pcre2_real_code_8* code) const;
    void operator()(pcre2_real_compile_context_8* context) const;
    void operator()(pcre2_real_match_context_8* context) const;
    void operator()(pcre2_real_match_data_8* data) const;
    void operator()(const uint8_t* tables) const;
  };

  void DiscardCompiled();
  uint32_t MatchOptions() const;

  TRegExMatcherOptions options_;
  std::string regEx_;
  std::string replacement_;
  TNotifyEvent onMatch_;
  TRegExMatcherReplaceEvent onReplace_;
  std::string subject_;

  bool compiled_ = false;
  bool studied_ = false;
  bool notBeginOfLine_ = false;
  bool notEndOfLine_ = false;
  bool notEmpty_ = true;
  int32_t start_ = 1;
  int32_t stop_ = 0;
  std::array<int32_t, kOffsetCapacity> offsets_{};
  int32_t offsetCount_ = 0;
  uint32_t compileOptions_ = 0;
  int compileCount_ = 0;
  bool groupsStored_ = false;
  std::vector<std::string> groups_;

  std::unique_ptr<const uint8_t, EngineDeleter> tables_;
  std::unique_ptr<pcre2_real_compile_context_8, EngineDeleter> compileContext_;
  std::unique_ptr<pcre2_real_match_context_8, EngineDeleter> matchContext_;
  std::unique_ptr<pcre2_real_match_data_8, EngineDeleter> matchData_;
  std::unique_ptr<pcre2_real_code_8, EngineDeleter> code_;
};

}  // namespace tavimo
