#pragma once
// Turns a table row's description ("read-only 0444") into a test name ("ReadOnly0444").

#include <cctype>
#include <string>

namespace tunelark::testing {

inline std::string caseName(const std::string& what) {
  std::string name;
  bool upper = true;
  for (const char c : what) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
      upper = false;
    } else {
      upper = true;
    }
  }
  return name.empty() ? "Unnamed" : name;
}

}  // namespace tunelark::testing
