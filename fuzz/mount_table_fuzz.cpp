// Fuzz target: a mount table as /proc/self/mounts could hold it, and each of its fields. Every
// input must parse without a crash, and what comes back must hold together: at most one entry
// per line, and decoding the escapes never makes a field longer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "browser/drive_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto entries = tunelark::parseMountTable(text);
  const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  if (entries.size() > lines) __builtin_trap();
  for (const auto& entry : entries) tunelark::isUserMount(entry);
  const auto decoded = tunelark::decodeMountField(text);
  if (decoded.size() > text.size()) __builtin_trap();
  return 0;
}
