#include "runtime/ErrorText.h"

namespace tavimo {

namespace {
// Index of the first byte of the last UTF-8 character; a stray continuation
// byte without its lead counts as a character of its own.
std::size_t LastCharacterStart(std::string_view text) {
  const std::size_t last = text.size() - 1;
  std::size_t i = last;
  while (i > 0 && last - i < 3 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return (lead >= 0xC0 && i + length == text.size()) ? i : last;
}
}  // namespace

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!message.empty()) {
    const unsigned char first = static_cast<unsigned char>(message[LastCharacterStart(message)]);
    if (first > static_cast<unsigned char>('.')) text.push_back('.');
  }
  return text;
}

std::string ApplicationTitle(std::string_view executablePath) {
  const std::size_t slash = executablePath.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? executablePath : executablePath.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  std::string title(name);
  for (std::size_t i = 0; i < title.size(); ++i) {
    const char c = title[i];
    if (i == 0 && c >= 'a' && c <= 'z') title[i] = static_cast<char>(c - 'a' + 'A');
    if (i > 0 && c >= 'A' && c <= 'Z') title[i] = static_cast<char>(c - 'A' + 'a');
  }
  return title;
}

}  // namespace tavimo
