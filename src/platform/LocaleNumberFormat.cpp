#include "platform/LocaleNumberFormat.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/Utf8.h"

namespace tavimo::platform {

namespace {

// The first character of a locale string as one well-formed UTF-8 sequence;
// empty when the string is empty or does not start with one.
std::string FirstCharacter(const char* text) {
  if (text == nullptr || *text == '\0') return {};
  const std::string_view view(text);
  const std::size_t length = CharacterLength(view, 0);
  if (length == 1 && static_cast<unsigned char>(view[0]) >= 0x80) return {};
  return std::string(view.substr(0, length));
}

bool IsPortableLocaleName(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.substr(0, 2) == "C." || name.substr(0, 2) == "C@";
}

// The locale name the environment chooses for LC_NUMERIC, in the order the C
// library uses: LC_ALL, then LC_NUMERIC, then LANG; empty values do not count.
std::string_view EnvironmentNumericLocale() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

}  // namespace

NumberFormatSettings QueryLocaleNumberFormat(const char* localeName) {
  NumberFormatSettings defaults;
  if (localeName == nullptr) return defaults;
  const std::string_view name = *localeName == '\0' ? EnvironmentNumericLocale() : std::string_view(localeName);
  if (IsPortableLocaleName(name)) return defaults;

  // A locale object of our own: the process-wide C locale is never touched.
  const std::string nameText(name);
  locale_t locale = newlocale(LC_NUMERIC_MASK, nameText.c_str(), static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return defaults;
  NumberFormatSettings settings;
  settings.decimalSeparator = FirstCharacter(nl_langinfo_l(RADIXCHAR, locale));
  settings.thousandsSeparator = FirstCharacter(nl_langinfo_l(THOUSEP, locale));
  freelocale(locale);
  if (settings.decimalSeparator.empty()) return defaults;
  return settings;
}

void LoadNumberFormatSettings() { SetGlobalNumberFormatSettings(QueryLocaleNumberFormat("")); }

}  // namespace tavimo::platform
