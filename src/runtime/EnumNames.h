#pragma once
// The names of an enumeration's values, as one table per enumeration: the
// name of a value, the value of a name, and the list of choices a message
// offers ("nearest, up or down") all come from that table.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavimo {

template <typename Enum>
struct NamedValue {
  Enum value;
  std::string_view name;
};

// The first entry's name for a value missing from the table.
template <typename Enum, std::size_t N>
constexpr std::string_view NameOf(const std::array<NamedValue<Enum>, N>& table, Enum value) {
  for (const NamedValue<Enum>& entry : table)
    if (entry.value == value) return entry.name;
  return table[0].name;
}

// Names compare exactly (case and all).
template <typename Enum, std::size_t N>
constexpr std::optional<Enum> ValueNamed(const std::array<NamedValue<Enum>, N>& table, std::string_view name) {
  for (const NamedValue<Enum>& entry : table)
    if (entry.name == name) return entry.value;
  return std::nullopt;
}

// "a, b or c", in the table's order.
template <typename Enum, std::size_t N>
std::string NameChoices(const std::array<NamedValue<Enum>, N>& table) {
  std::string list;
  for (std::size_t i = 0; i < N; ++i) {
    if (i > 0) list += i + 1 == N ? " or " : ", ";
    list += table[i].name;
  }
  return list;
}

}  // namespace tavimo
