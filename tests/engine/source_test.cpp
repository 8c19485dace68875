// From a source to its clip list: one playlist line read into a clip (local paths, parameters,
// which schemes are allowed), and .ram files found by their text, with relative entries, nesting,
// cycles and size limits, on real files.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/engine/source_line.h"
#include "player/engine/source_resolver.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

struct LineCase {
  std::string line;
  ClipKind kind;
  std::string location;
  std::string title;
  std::string refusal = "";  // part of the refusal; "" for none
};

// `text` holds `part`, or is empty when `part` is.
void says(const std::string& text, const std::string& part) {
  if (part.empty())
    EXPECT_EQ(text, "");
  else
    EXPECT_NE(text.find(part), std::string::npos) << text;
}

constexpr auto kLocal = ClipKind::LocalFile, kNet = ClipKind::NetworkUrl,
               kRefused = ClipKind::Unplayable;

TEST(SourceLine, EachLineGivesItsClipOrItsRefusal) {
  const LineCase cases[] = {
      {"file:/home/ann/song.ra", kLocal, "/home/ann/song.ra", ""},
      {"file:/home/ann/song.ra\r", kLocal, "/home/ann/song.ra", ""},
      {"FILE:/home/ann/song.ra", kLocal, "/home/ann/song.ra", ""},
      {"file:///home/ann/song.ra", kLocal, "/home/ann/song.ra", ""},
      {"file://localhost/home/a.rm", kLocal, "/home/a.rm", ""},
      {"/home/ann/song.rm", kLocal, "/home/ann/song.rm", ""},
      {"  /home/ann/song.rm \t", kLocal, "/home/ann/song.rm", ""},
      {"file:/m/caf\xc3\xa9 \xff.ra", kLocal, "/m/caf\xc3\xa9 \xff.ra", ""},
      {"C:\\music\\a.ra", kLocal, "C:\\music\\a.ra", ""},
      {"file:/m/a.rm?title=Morning", kLocal, "/m/a.rm", "Morning"},
      {"file:/m/a.rm?start=10&title=Two%20Words", kLocal, "/m/a.rm", "Two Words"},
      {"file:/m/a.rm?title=A+B&author=x", kLocal, "/m/a.rm", "A B"},
      {"file:/m/what?.rm", kLocal, "/m/what?.rm", ""},
      {"file:/m/why?.rm?title=T", kLocal, "/m/why?.rm", "T"},
      {"file:/m/a.rm?title=%zz", kLocal, "/m/a.rm", "%zz"},
      {"file:/m/a.rm?=x", kLocal, "/m/a.rm?=x", ""},
      {"http://example.org/a.rm", kNet, "http://example.org/a.rm", ""},
      {"HTTPS://example.org/a.ra", kNet, "HTTPS://example.org/a.ra", ""},
      {"pnm://example.org/a.ra", kRefused, "pnm://example.org/a.ra", "", "pnm"},
      {"file:", kRefused, "", "", "no file named"},
      {"file:?title=x", kRefused, "", "x", "no file named"},
  };
  std::vector<LineCase> all(std::begin(cases), std::end(cases));
  for (const auto* line :
       {"concat:/a.rm|/b.rm", "subfile,,start,0,end,0,,:/a.rm", "data:audio/wav;base64,UklG",
        "pipe:0", "fd:3", "crypto:/a.rm", "cache:/a.rm", "ftp://host/a.rm", "async:/a.rm",
        "gopher://host/a", "unix:/run/socket", "tee:/a.rm", "srtp://host:5004", "hls+http://host/a",
        "file+concat:/x"})
    all.push_back({line, kRefused, line, "", "not allowed"});
  for (const auto& c : all) {
    SCOPED_TRACE(c.line);
    const auto clip = parseSourceLine(c.line);
    EXPECT_EQ(clip.kind, c.kind);
    EXPECT_EQ(clip.location, c.location);
    EXPECT_EQ(clip.title, c.title);
    says(clip.refusal, c.refusal);
  }
  EXPECT_EQ(parseSourceLine("file:/m/dir/song.ra").displayName(), "song.ra");
  EXPECT_EQ(parseSourceLine("http://h/x.rm").displayName(), "http://h/x.rm");
}

struct ResolveCase {
  const char* name;
  std::string source;                  // "@" stands for the folder
  std::vector<std::string> locations;  // likewise
  std::string says;                    // part of the message; "" for none
  ResolveLimits limits = {};
};

TEST(ResolveSource, EachSourceGivesItsClipsInOrderWithinTheLimits) {
  testing::TempDir dir;
  const std::pair<const char*, std::string> files[] = {
      {"lists/mix.ram",
       "file:/abs/one.rm\r\ntwo.rm\r\nfile:sub/three.ra?title=Three\r\n"
       "http://example.org/four.rm\r\npnm://live.example.org/x.ra\r\nconcat:a|b\r\n"},
      // Blank lines, comments and a byte order mark make no entries; a line ends at LF; --stop--
      // ends the list.
      {"lists/marked.ram",
       "\xEF\xBB\xBF# c\r\n   \r\na.rm\n#b.rm\r\n--stop--x\r\n--stop--\r\nd.rm\r\n"},
      {"A.RAM", "file:/x.rm\r\n"},
      {"song.ram", std::string(".RMF\0\0\0\x12\0\0", 10)},
      {"notes.rm", "file:/x.rm\r\n"},
      {"inner.ram", "b.rm\r\nc.rm\r\n"},
      {"outer.ram", "a.rm\r\ninner.ram\r\nd.rm\r\n"},
      {"self.ram", "a.rm\r\nself.ram\r\nb.rm\r\n"},
      {"ping.ram", "ping.rm\r\npong.ram\r\n"},
      {"pong.ram", "pong.rm\r\nping.ram\r\n"},
      {"level1.ram", "clip1.rm\r\nlevel2.ram\r\n"},
      {"level2.ram", "clip2.rm\r\nlevel3.ram\r\n"},
      {"level3.ram", "clip3.rm\r\nlevel4.ram\r\n"},
      {"level4.ram", "clip4.rm\r\nlevel5.ram\r\n"},
      {"level5.ram", "clip5.rm\r\n"},
      {"three.ram", "c0.rm\r\nc1.rm\r\nc2.rm\r\n"},
      // 41 bytes each; the outer list is 18.
      {"one.ram", "clip.rm\r\n" + std::string(30, '#') + "\r\n"},
      {"two.ram", "clip.rm\r\n" + std::string(30, '#') + "\r\n"},
      {"budget.ram", "one.ram\r\ntwo.ram\r\n"},
      {"big.ram", "first.rm\r\nsecond.rm\r\nthird.rm\r\n"},
  };
  for (const auto& [name, text] : files) dir.write(name, text);
  const std::vector<std::string> mix = {"/abs/one.rm",
                                        "@/lists/two.rm",
                                        "@/lists/sub/three.ra",
                                        "http://example.org/four.rm",
                                        "pnm://live.example.org/x.ra",
                                        "concat:a|b"};

  const ResolveCase cases[] = {
      {"Line", "file:/music/a.rm?title=A", {"/music/a.rm"}, ""},
      {"Empty", "", {}, ""},
      {"Blank", " \r\n", {}, ""},
      {"List", "@/lists/mix.ram", mix, ""},
      {"ListAsFileUrl", "file:@/lists/mix.ram", mix, ""},
      {"ListAsFileUrlWithHost", "file://@/lists/mix.ram", mix, ""},
      {"MarkedList", "@/lists/marked.ram", {"@/lists/a.rm", "@/lists/--stop--x"}, ""},
      {"UpperCaseName", "@/A.RAM", {"/x.rm"}, ""},
      {"BinaryNamedRam", "@/song.ram", {"@/song.ram"}, ""},
      {"TextNamedRm", "@/notes.rm", {"@/notes.rm"}, ""},
      {"Nested", "@/outer.ram", {"@/a.rm", "@/b.rm", "@/c.rm", "@/d.rm"}, ""},
      {"ListsItself", "@/self.ram", {"@/a.rm", "@/b.rm"}, "lists itself"},
      {"Cycle", "@/pong.ram", {"@/pong.rm", "@/ping.rm"}, "lists itself"},
      {"FourLevels", "@/level2.ram", {"@/clip2.rm", "@/clip3.rm", "@/clip4.rm", "@/clip5.rm"}, ""},
      {"FiveLevels",
       "@/level1.ram",
       {"@/clip1.rm", "@/clip2.rm", "@/clip3.rm", "@/clip4.rm"},
       "nested too deeply"},
      {"AtTheClipCap", "@/three.ram", {"@/c0.rm", "@/c1.rm", "@/c2.rm"}, "", {3}},
      {"OverTheClipCap", "@/three.ram", {"@/c0.rm", "@/c1.rm"}, "only the first 2", {2}},
      {"WithinTheTextBudget",
       "@/budget.ram",
       {"@/clip.rm", "@/clip.rm"},
       "",
       {10000, 4, 1000, 100}},
      {"OverTheTextBudget",
       "@/budget.ram",
       {"@/clip.rm"},
       "two.ram was read only in part",
       {10000, 4, 1000, 60}},
      // Cut at the last whole line: "first.rm\r\nsecond.rm\r\nthi"
      {"OverTheFileSize",
       "@/big.ram",
       {"@/first.rm", "@/second.rm"},
       "read only in part",
       {10000, 4, 25}},
  };
  const auto here = [&](std::string text) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at))
      text.replace(at, 1, dir.str());
    return text;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto resolved = resolveSource(here(c.source), c.limits);
    std::vector<std::string> locations, expected;
    for (const auto& clip : resolved.clips) locations.push_back(clip.location);
    for (const auto& location : c.locations) expected.push_back(here(location));
    EXPECT_EQ(locations, expected);
    says(resolved.message, c.says);
  }
}

}  // namespace
}  // namespace tunelark::engine
