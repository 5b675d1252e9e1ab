#pragma once
// Reading and writing one key of one section of an INI file, by the rules of
// the profile interface the settings file was designed for.

#include <string>
#include <string_view>

namespace tavimo::platform {

// The value of key in section, or defaultValue when the file, the section or
// the key does not exist. Section and key match without regard to case;
// blanks around the value and one pair of enclosing quotes are dropped; the
// value is cut to its first 2047 bytes.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view defaultValue);

// Sets key in section to value, creating the file, the section and the key
// as needed and keeping every other line byte for byte. The file is replaced
// atomically; false when the write failed, the old file then being untouched.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace tavimo::platform
