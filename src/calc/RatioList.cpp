#include "calc/RatioList.h"

#include <filesystem>
#include <system_error>

#include "platform/ExecutablePath.h"
#include "platform/ProfileFile.h"
#include "runtime/Exceptions.h"
#include "runtime/FloatFaults.h"
#include "runtime/Messages.h"
#include "runtime/NumberText.h"

namespace tavimo {

namespace {

constexpr std::string_view kSection = "tvmo";
constexpr std::string_view kKey = "num";
constexpr std::string_view kFileName = "data.ini";
constexpr std::string_view kUserSubdirectory = "tavimo/";

constexpr char kSeparator = ',';
constexpr char kQuote = '"';

// Byte length of the UTF-8 character at `at`; a byte that does not start a
// well-formed sequence is a character of its own.
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char secondMin = 0x80, secondMax = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) secondMin = 0xA0;  // overlong
    if (lead == 0xED) secondMax = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) secondMin = 0x90;  // overlong
    if (lead == 0xF4) secondMax = 0x8F;  // beyond U+10FFFF
  } else {
    return 1;
  }
  if (at + length > text.size()) return 1;
  if (byte(at + 1) < secondMin || byte(at + 1) > secondMax) return 1;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 1;
  return length;
}

bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

// The quoted item starting at the quote at `at`; returns the position after
// its closing quote, or the end of the text when it has none.
std::size_t ExtractQuotedItem(std::string_view text, std::size_t at, std::string& item) {
  std::size_t pos = at + 1;
  while (pos < text.size()) {
    if (text[pos] == kQuote) {
      if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
        item.push_back(kQuote);
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    const std::size_t length = CharacterLength(text, pos);
    item.append(text.substr(pos, length));
    pos += length;
  }
  return pos;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

RatioList SplitRatioText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  RatioList list;
  std::size_t pos = 0;
  // Blanks, the separator and the quote are single bytes below 0x80, which
  // never occur inside a multi-byte character; stepping by whole characters
  // keeps every multi-byte character in one piece.
  const auto skipBlanks = [&] {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
  };

  skipBlanks();
  while (pos < text.size()) {
    std::string entry;
    if (text[pos] == kQuote) {
      pos = ExtractQuotedItem(text, pos, entry);
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != kSeparator)
        pos += CharacterLength(text, pos);
      entry.assign(text.substr(start, pos - start));
    }
    list.push_back(std::move(entry));
    skipBlanks();
    if (pos < text.size() && text[pos] == kSeparator) {
      // A trailing comma stands for one more, empty, entry.
      if (pos + 1 == text.size()) list.emplace_back();
      ++pos;
      skipBlanks();
    }
  }
  return list;
}

double ParseRatio(std::string_view entry, const NumberFormatSettings& settings) {
  const std::size_t slash = entry.find('/');
  if (slash == std::string_view::npos) return StoreAsDouble(ParseFloatText(entry, settings));
  // Everything after the first "/" is the denominator, so "1/2/3" fails on "2/3".
  const std::int32_t numerator = ParseIntegerText(entry.substr(0, slash));
  const std::int32_t denominator = ParseIntegerText(entry.substr(slash + 1));
  return StoreAsDouble(DivideChecked(numerator, denominator));
}

namespace {
RatioList& ProcessRatioList() {
  static RatioList list;
  return list;
}
}  // namespace

const RatioList& CurrentRatioList() { return ProcessRatioList(); }

void ReplaceRatioList(RatioList list) { ProcessRatioList() = std::move(list); }

RatioList RatioListFromStoredText(std::string_view storedText) {
  return SplitRatioText(storedText.empty() ? DefaultRatioText : storedText);
}

std::string ChooseSettingsFilePath(const std::string& executableDirectory, bool executableDirectoryWritable,
                                   const std::string& userConfigDirectory) {
  const std::string beside = executableDirectory + std::string(kFileName);
  // An unknown executable directory must not turn into the working directory.
  const bool installed =
      executableDirectory.empty() || (!executableDirectoryWritable && !FileExists(beside));
  if (installed && !userConfigDirectory.empty())
    return userConfigDirectory + std::string(kUserSubdirectory) + std::string(kFileName);
  return beside;
}

std::string SettingsFilePath() {
  const std::string directory = platform::ExecutableDirectory();
  return ChooseSettingsFilePath(directory, platform::IsDirectoryWritable(directory),
                                platform::UserConfigDirectory());
}

RatioList ReadRatioList(const std::string& settingsPath) {
  return RatioListFromStoredText(platform::ReadProfileString(settingsPath, kSection, kKey, DefaultRatioText));
}

void LoadRatioList() { LoadRatioList(SettingsFilePath()); }

void LoadRatioList(const std::string& settingsPath) { ReplaceRatioList(ReadRatioList(settingsPath)); }

void SaveRatioText(std::string_view text) { SaveRatioText(text, SettingsFilePath()); }

void SaveRatioText(std::string_view text, const std::string& settingsPath) {
  // The per-user folder does not exist before the first save; a failure here
  // shows up as the failed write below.
  const std::filesystem::path directory = std::filesystem::path(settingsPath).parent_path();
  if (!directory.empty()) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
  }
  if (!platform::WriteProfileString(settingsPath, kSection, kKey, text))
    throw EIniFileException(messages::FormatMessage(messages::kUnableToWrite, settingsPath));
}

}  // namespace tavimo
