#pragma once
// What the file-type dialog's three boxes select: File1's pattern and Label5's caption.

#include <string_view>

namespace tunelark {

struct FilterRow {
  bool ram;
  bool ra;
  bool rm;
  std::string_view pattern;
  std::string_view caption;
};

// The first row of the table that matches the boxes. The texts are fixed as written, so the
// all-on row reads differently from the design-time pattern and caption.
const FilterRow& filterFor(bool ram, bool ra, bool rm);

}  // namespace tunelark
