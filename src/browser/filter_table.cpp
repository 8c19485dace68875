#include "browser/filter_table.h"

#include <array>

namespace tunelark {

namespace {

constexpr std::array<FilterRow, 8> kFilterTable = {{
    {true, true, true, "*.ram;*.ra;*.rm", "RealMedia Files (*.ra, *.ram, *.rm)"},
    {true, true, false, "*.ram;*.ra", "RealMedia Files (*.ra, *.ram)"},
    {true, false, true, "*.ram;*.rm", "RealMedia Files (*.rm, *.ram)"},
    {false, true, true, "*.ra;*.rm", "RealMedia Files (*.ra, *.rm)"},
    {true, false, false, "*.ram", "RealMedia Files (*.ram)"},
    {false, true, false, "*.ra", "RealMedia Files (*.ra)"},
    {false, false, true, "*.rm", "RealMedia Files (*.rm)"},
    {false, false, false, "", "RealMedia Files (None)"},
}};

}  // namespace

const FilterRow& filterFor(bool ram, bool ra, bool rm) {
  for (const auto& row : kFilterTable) {
    if (row.ram == ram && row.ra == ra && row.rm == rm) return row;
  }
  return kFilterTable.back();  // unreachable: the eight rows cover every combination
}

}  // namespace tunelark
