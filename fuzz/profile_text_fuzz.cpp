// Fuzzes the settings-file parser and editor with arbitrary file contents, names and values.
// Beyond not crashing, every accepted write must read back exactly the value written, and a
// write that adds a key or a section must only insert, keeping every old byte in place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile_text.h"

namespace {

constexpr std::string_view kSections[] = {"Dirlagu", "option", " Option ", "[a", "a]b", "", "s\n"};
constexpr std::string_view kKeys[] = {"file", "TASKBAR", " k ", ";c", "a=b", "", "k\r"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view section = kSections[data[0] % std::size(kSections)];
  const std::string_view key = kKeys[data[1] % std::size(kKeys)];
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  // Whatever follows the first "|" is the value; the rest is the file.
  const auto bar = rest.find('|');
  const std::string_view text = rest.substr(0, bar);
  const std::string_view value = bar == std::string_view::npos ? "/x" : rest.substr(bar + 1);

  const auto before = tunelark::findProfileValue(text, section, key);
  const auto written = tunelark::setProfileValue(text, section, key, value);
  if (!written) return 0;
  if (tunelark::findProfileValue(*written, section, key) != value) __builtin_trap();
  if (!before) {
    // A new key or section is an insertion: the old text is a prefix plus a suffix of the new.
    std::size_t same = 0;
    while (same < text.size() && (*written)[same] == text[same]) ++same;
    const std::size_t tail = text.size() - same;
    if (written->compare(written->size() - tail, tail, text, same, tail) != 0) __builtin_trap();
  }
  return 0;
}
