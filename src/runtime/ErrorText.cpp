#include "runtime/ErrorText.h"

namespace tavimo {

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  // The last character's first byte sorts after "." exactly when its last byte does (any non-ASCII byte does).
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    text.push_back('.');
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
