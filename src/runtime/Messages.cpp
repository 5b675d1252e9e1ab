#include "runtime/Messages.h"

namespace tavimo::messages {

namespace {
std::string Fill(std::string_view templ, std::string_view argument) {
  std::string out;
  out.reserve(templ.size() + argument.size());
  const std::size_t at = [&] {
    const std::size_t s = templ.find("%s");
    return s != std::string_view::npos ? s : templ.find("%d");
  }();
  if (at == std::string_view::npos) return std::string(templ);
  out.append(templ.substr(0, at));
  out.append(argument);
  out.append(templ.substr(at + 2));
  return out;
}
}  // namespace

std::string FormatMessage(std::string_view templ, std::string_view argument) {
  return Fill(templ, argument);
}

std::string FormatMessage(std::string_view templ, long long argument) {
  return Fill(templ, std::to_string(argument));
}

}  // namespace tavimo::messages
