#pragma once
// Letter case folded the way file names, keys and URL schemes need it: ASCII letters only, the
// same whatever the process's locale, every other byte kept as it is.

#include <string>
#include <string_view>

namespace tunelark {

constexpr char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline std::string asciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = asciiLower(c);
  return out;
}

// A C0 control byte or DEL: no such byte belongs in a path a person typed or chose.
constexpr bool isControlByte(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

constexpr bool isAsciiLetter(char c) { return asciiLower(c) >= 'a' && asciiLower(c) <= 'z'; }

constexpr bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

constexpr bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

constexpr bool endsWithNoCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace tunelark
