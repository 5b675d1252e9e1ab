#pragma once
// Reading and writing one key of one section of an INI file, by the rules of
// the profile interface the settings file was designed for. A file is read
// line by line, so memory grows with its longest line rather than with the
// file, and a write copies the unchanged bytes straight from the old file
// into its replacement (platform/AtomicFile.h).

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavimo::platform {

// The value of key in section, or defaultValue when the file, the section or
// the key does not exist. Section and key match without regard to case;
// blanks around the value and one pair of enclosing quotes are dropped; the
// value is cut to its first 2047 bytes.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue);

// The values of several keys of section in one pass over the file, as
// ReadProfileString gives them; nullopt for a key that does not exist, and
// for every key when the file or the section does not.
std::vector<std::optional<std::string>> ReadProfileStrings(const std::string& path, std::string_view section,
                                                           std::initializer_list<std::string_view> keys);

// ReadProfileStrings, and why a file that exists could not be read: a
// directory, a device or pipe ("not a regular file"), no permission, a read
// error. readError is empty when the file was read or does not exist.
struct ProfileValues {
  std::vector<std::optional<std::string>> values;
  std::string readError;
};
ProfileValues ReadProfileValues(const std::string& path, std::string_view section,
                                std::initializer_list<std::string_view> keys);

// Blanks, as they are dropped around names and values.
inline bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The value a read gives for a line whose text after the equals sign is
// text: cut at a NUL byte, blanks around it and one pair of enclosing quotes
// dropped, cut to its first 2047 bytes.
std::string ProfileValueText(std::string_view text);

// Every key of section with its value, in file order: the first section of
// that name, the first line of each key (keys compared without regard to
// case), values as ReadProfileString gives them. Empty when the file or the
// section does not exist or the file cannot be read.
std::vector<std::pair<std::string, std::string>> ReadProfileSection(const std::string& path,
                                                                    std::string_view section);

// Sets key in section to value, creating the file, the section and the key
// as needed and keeping every other line byte for byte. The file is replaced
// atomically; false when the write failed, the old file then being untouched.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Removes key from section: every line of the key in the section that reads
// use (so no later line of the same key takes its place), every other line
// kept byte for byte, the file replaced atomically. True when the key is
// absent afterwards, also when the file or the key never existed (nothing is
// written then); false when the file could not be read or replaced.
bool DeleteProfileKey(const std::string& path, std::string_view section, std::string_view key);

}  // namespace tavimo::platform
