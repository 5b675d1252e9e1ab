#include "regex/RegExMatcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#include <locale.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "regex/RegExMessages.h"
#include "runtime/Exceptions.h"

namespace tavimo {
namespace {

// Bounds on one search, so that no pattern and subject can hang the program:
// a search that reaches one fails like a non-match. The match limit is the
// library's default (ten million backtracking steps); the depth and heap
// limits let a repeated group such as "(?:a|b)*c" run over 50,000 characters
// (two levels of about 128 bytes each per character). Exponential patterns
// such as "(a+)+$" meet the match limit, deep ones the depth or heap limit,
// each within about a quarter of a second on a desktop machine.
constexpr uint32_t kDepthLimit = 200'000;
constexpr uint32_t kHeapLimitKibibytes = 20'000;

constexpr uint32_t kEngineOption[] = {
    PCRE2_CASELESS,  // preCaseLess
    PCRE2_MULTILINE,  // preMultiLine
    PCRE2_DOTALL,  // preSingleLine
    PCRE2_EXTENDED,  // preExtended
    PCRE2_ANCHORED,  // preAnchored
    PCRE2_UNGREEDY,  // preUnGreedy
    PCRE2_NO_AUTO_CAPTURE,  // preNoAutoCapture
};

uint32_t EngineCompileOptions(TRegExMatcherOptions options) {
  uint32_t bits = 0;
  for (int option = preCaseLess; option <= preNoAutoCapture; ++option)
    if (options.Contains(static_cast<TRegExMatcherOption>(option))) bits |= kEngineOption[option];
  return bits;
}

// The character tables classify bytes with the C library's ASCII classes
// whatever locale the process runs in; the switch is for this thread only.
const uint8_t* MakeAsciiTables() {
  locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  locale_t previous = cLocale != static_cast<locale_t>(0) ? uselocale(cLocale) : static_cast<locale_t>(0);
  const uint8_t* tables = pcre2_maketables(nullptr);
  if (cLocale != static_cast<locale_t>(0)) {
    uselocale(previous);
    freelocale(cLocale);
  }
  return tables;
}

template <typename T>
T* Required(T* allocated) {
  if (allocated == nullptr) throw std::bad_alloc();
  return allocated;
}

std::string CompileErrorMessage(int errorCode, PCRE2_SIZE errorOffset) {
  PCRE2_UCHAR text[256];
  if (pcre2_get_error_message(errorCode, text, sizeof text) < 0) text[0] = 0;
  std::string message(messages::kRegExCompileError);
  std::string offset = std::to_string(static_cast<long long>(errorOffset));
  size_t at = message.find("%d");
  message.replace(at, 2, offset);
  message.replace(message.find("%s", at + offset.size()), 2, reinterpret_cast<const char*>(text));
  return message;
}

}  // namespace

void TRegExMatcher::EngineDeleter::operator()(pcre2_real_code_8* code) const { pcre2_code_free(code); }
void TRegExMatcher::EngineDeleter::operator()(pcre2_real_compile_context_8* context) const {
  pcre2_compile_context_free(context);
}
void TRegExMatcher::EngineDeleter::operator()(pcre2_real_match_context_8* context) const {
  pcre2_match_context_free(context);
}
void TRegExMatcher::EngineDeleter::operator()(pcre2_real_match_data_8* data) const { pcre2_match_data_free(data); }
void TRegExMatcher::EngineDeleter::operator()(const uint8_t* tables) const { pcre2_maketables_free(nullptr, tables); }

TRegExMatcher::TRegExMatcher()
    : tables_(Required(MakeAsciiTables())),
      compileContext_(Required(pcre2_compile_context_create(nullptr))),
      matchContext_(Required(pcre2_match_context_create(nullptr))),
      matchData_(Required(pcre2_match_data_create(kOffsetPairs, nullptr))) {
  pcre2_set_character_tables(compileContext_.get(), tables_.get());
  pcre2_set_newline(compileContext_.get(), PCRE2_NEWLINE_ANY);
  pcre2_set_depth_limit(matchContext_.get(), kDepthLimit);
  pcre2_set_heap_limit(matchContext_.get(), kHeapLimitKibibytes);
  compileOptions_ = EngineCompileOptions(options_);
}

TRegExMatcher::~TRegExMatcher() = default;

void TRegExMatcher::SetOptions(TRegExMatcherOptions options) {
  if (options == options_) return;
  options_ = options;
  compileOptions_ = EngineCompileOptions(options_);
  DiscardCompiled();
}

void TRegExMatcher::SetRegEx(std::string_view regEx) {
  if (regEx == regEx_) return;
  regEx_ = regEx;
  DiscardCompiled();
}

void TRegExMatcher::SetSubject(std::string_view subject) {
  subject_ = subject;
  start_ = 1;
  stop_ = static_cast<int32_t>(std::min<size_t>(subject_.size(), INT32_MAX));
  offsetCount_ = 0;
}

void TRegExMatcher::DiscardCompiled() {
  compiled_ = false;
  studied_ = false;
  code_.reset();
  groupsStored_ = false;
  groups_.clear();
  offsetCount_ = 0;
}

void TRegExMatcher::Compile() {
  if (regEx_.empty()) throw Exception(std::string(messages::kRegExMissing));
  DiscardCompiled();
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  ++compileCount_;
  code_.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(regEx_.data()), regEx_.size(), compileOptions_,
                            &errorCode, &errorOffset, compileContext_.get()));
  if (!code_) throw Exception(CompileErrorMessage(errorCode, errorOffset));
  compiled_ = true;
}

uint32_t TRegExMatcher::MatchOptions() const {
  return (notBeginOfLine_ ? PCRE2_NOTBOL : 0u) | (notEndOfLine_ ? PCRE2_NOTEOL : 0u) |
         (notEmpty_ ? PCRE2_NOTEMPTY : 0u);
}

bool TRegExMatcher::Match() {
  groupsStored_ = false;
  groups_.clear();
  if (!compiled_) Compile();

  int result = pcre2_match(code_.get(), reinterpret_cast<PCRE2_SPTR>(subject_.data()), subject_.size(), 0,
                           MatchOptions(), matchData_.get(), matchContext_.get());
  offsetCount_ = result;
  if (result <= 0) return false;

  const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(matchData_.get());
  for (int i = 0; i < 2 * result; ++i)
    offsets_[static_cast<size_t>(i)] =
        vector[i] == PCRE2_UNSET ? 0 : static_cast<int32_t>(std::min<PCRE2_SIZE>(vector[i], INT32_MAX - 1)) + 1;
  start_ = offsets_[0] == offsets_[1] ? offsets_[1] + 1 : offsets_[1];
  if (onMatch_) onMatch_(*this);
  return true;
}

}  // namespace tavimo
