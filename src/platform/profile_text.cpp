#include "platform/profile_text.h"

#include <vector>

#include "platform/ascii.h"

namespace tunelark {

namespace {

constexpr std::string_view kBlank = " \t\r";

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(kBlank);
  return s.substr(first, last - first + 1);
}

bool sameName(std::string_view a, std::string_view b) { return equalsNoCase(a, b); }

enum class LineKind { Other, Header, Entry };

// One line of the text: where it lies and what it says.
struct Line {
  std::size_t begin = 0;    // first byte
  std::size_t end = 0;      // one past the last byte before the line ending
  std::size_t next = 0;     // first byte of the next line
  bool terminated = false;  // ended by "\n" (the last line may not be)
  LineKind kind = LineKind::Other;
  std::string_view name;    // section name of a header, key of an entry
  std::string_view value;   // trimmed value of an entry, quotes still on
  std::size_t valueAt = 0;  // where an entry's value starts (just after "=" when empty)
};

Line parseLine(std::string_view text, std::size_t begin) {
  Line line;
  line.begin = begin;
  const auto nl = text.find('\n', begin);
  line.terminated = nl != std::string_view::npos;
  line.next = line.terminated ? nl + 1 : text.size();
  line.end = line.terminated ? nl : text.size();
  if (line.end > begin && text[line.end - 1] == '\r') --line.end;

  const std::string_view body = trim(text.substr(begin, line.end - begin));
  if (body.empty() || body.front() == ';') return line;
  if (body.front() == '[') {
    const auto close = body.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = LineKind::Header;
      line.name = trim(body.substr(1, close - 1));
      return line;
    }
  }
  const auto eq = body.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = LineKind::Entry;
  line.name = trim(body.substr(0, eq));
  line.value = trim(body.substr(eq + 1));
  // The spacing the user put after "=" stays when the value is replaced.
  line.valueAt = line.value.empty() ? static_cast<std::size_t>(body.data() - text.data()) + eq + 1
                                    : static_cast<std::size_t>(line.value.data() - text.data());
  return line;
}

std::vector<Line> parseLines(std::string_view text) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < text.size();) {
    lines.push_back(parseLine(text, at));
    at = lines.back().next;
  }
  return lines;
}

bool isQuote(char c) { return c == '"' || c == '\''; }

std::string_view unquote(std::string_view value) {
  if (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// A value that reading would trim or unquote is wrapped in quotes so that it reads back whole.
std::string encodeValue(std::string_view value) {
  if (value.empty()) return {};
  const bool padded = kBlank.find(value.front()) != std::string_view::npos ||
                      kBlank.find(value.back()) != std::string_view::npos;
  if (padded || unquote(value).size() != value.size()) {
    return "\"" + std::string(value) + "\"";
  }
  return std::string(value);
}

bool hasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view lineEndingOf(std::string_view text) {
  const auto nl = text.find('\n');
  if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') return "\r\n";
  return "\n";
}

// Where the section's lines are in `lines`: the header's index, the index of the first matching
// key (or -1), and the last non-blank line of the section.
struct SectionSpan {
  long header = -1;
  long key = -1;
  long lastContent = -1;
};

SectionSpan locate(const std::vector<Line>& lines, std::string_view text, std::string_view section,
                   std::string_view key) {
  SectionSpan span;
  for (long i = 0; i < static_cast<long>(lines.size()); ++i) {
    const Line& line = lines[static_cast<std::size_t>(i)];
    if (line.kind == LineKind::Header) {
      if (span.header >= 0) break;
      if (sameName(line.name, section)) span.header = span.lastContent = i;
      continue;
    }
    if (span.header < 0) continue;
    if (!trim(text.substr(line.begin, line.end - line.begin)).empty()) span.lastContent = i;
    if (span.key < 0 && line.kind == LineKind::Entry && sameName(line.name, key)) span.key = i;
  }
  return span;
}

}  // namespace

std::optional<std::string> findProfileValue(std::string_view text, std::string_view section,
                                            std::string_view key) {
  section = trim(section);
  key = trim(key);
  const auto lines = parseLines(text);
  const SectionSpan span = locate(lines, text, section, key);
  if (span.key < 0) return std::nullopt;
  return std::string(unquote(lines[static_cast<std::size_t>(span.key)].value));
}

std::optional<std::string> setProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
  section = trim(section);
  key = trim(key);
  if (section.empty() || key.empty() || hasLineBreakOrNul(section) || hasLineBreakOrNul(key) ||
      hasLineBreakOrNul(value) || section.find(']') != std::string_view::npos ||
      key.find('=') != std::string_view::npos || key.front() == ';' || key.front() == '[') {
    return std::nullopt;
  }
  const std::string_view eol = lineEndingOf(text);
  const std::string encoded = encodeValue(value);
  const auto lines = parseLines(text);
  const SectionSpan span = locate(lines, text, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + encoded.size() + 8);

  if (span.key >= 0) {
    // Everything up to the "=" stays as the user wrote it; only the value changes.
    const Line& line = lines[static_cast<std::size_t>(span.key)];
    out.append(text.substr(0, line.valueAt));
    out.append(encoded);
    out.append(text.substr(line.end));
    return out;
  }
  const std::string entry = std::string(key) + "=" + encoded;
  if (span.header >= 0) {
    const Line& after = lines[static_cast<std::size_t>(span.lastContent)];
    out.append(text.substr(0, after.next));
    if (!after.terminated) out.append(eol);
    out.append(entry).append(eol);
    out.append(text.substr(after.next));
    return out;
  }
  out.append(text);
  if (!text.empty() && text.back() != '\n') out.append(eol);
  out.append("[").append(section).append("]").append(eol);
  out.append(entry).append(eol);
  return out;
}

}  // namespace tunelark
