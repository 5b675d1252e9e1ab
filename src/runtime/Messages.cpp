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

std::string PrintableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out.push_back(c);
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      constexpr char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    }
  }
  return out;
}

std::string QuotedText(std::string_view text) { return "'" + PrintableText(text) + "'"; }

std::string FormatMessage(std::string_view templ, std::string_view argument) {
  return Fill(templ, PrintableText(argument));
}

std::string FormatMessage(std::string_view templ, long long argument) {
  return Fill(templ, std::to_string(argument));
}

}  // namespace tavimo::messages
