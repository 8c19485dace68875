#include "shell/presentation_setting.h"

#include <charconv>
#include <string_view>

#include "platform/profile_file.h"

namespace tunelark {

namespace {

// A read fills a 50-character buffer, NUL included.
constexpr std::size_t kReadLimit = 49;

std::string_view trimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The text as a whole number with an optional sign; 0 for anything else, a number too large
// for an int included (it could not be 1 to 3 either).
int wholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

}  // namespace

StoredPresentation readPresentation(const std::string& settingsPath) {
  std::string text = ProfileFile(settingsPath).readString("option", kPresentationKey, settingsPath);
  if (text.size() > kReadLimit) text.resize(kReadLimit);
  StoredPresentation stored;
  stored.noCharacters = text.empty();
  stored.value = wholeNumber(trimSpaces(text));
  return stored;
}

bool storePresentation(const std::string& settingsPath, int value) {
  return ProfileFile(settingsPath).write("Option", kPresentationKey, std::to_string(value));
}

}  // namespace tunelark
