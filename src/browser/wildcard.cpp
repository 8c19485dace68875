#include "browser/wildcard.h"

#include "platform/ascii.h"

namespace tunelark {

namespace {

bool sameLetter(char a, char b) { return asciiLower(a) == asciiLower(b); }

}  // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  // Greedy scan that remembers the last "*" and retries from one character further on a
  // mismatch: linear for the patterns used here, never exponential.
  size_t p = 0, n = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() &&
        (pattern[p] == '?' || (pattern[p] != '*' && sameLetter(pattern[p], name[n])))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> splitPatterns(std::string_view list) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos <= list.size()) {
    size_t end = list.find(';', pos);
    if (end == std::string_view::npos) end = list.size();
    std::string_view piece = list.substr(pos, end - pos);
    while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
    while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
    if (!piece.empty()) out.emplace_back(piece);
    pos = end + 1;
  }
  return out;
}

}  // namespace tunelark
