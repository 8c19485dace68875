// Prints the median and slowest time of Open of a 100,000-byte playlist of 80 entries whose
// clips exist (with the 80 file-name lookups and the rows), and of sort, shuffle, remove and
// move of those 80 entries with the rewrite of the list's file, in a fresh temporary folder.

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "platform/quiet_host.h"
#include "ui/form1.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// Answers every Open with the same file.
class FixedDialogs : public tunelark::FileDialogs {
 public:
  explicit FixedDialogs(std::string path) : path_(std::move(path)) {}
  bool ShowOpen(tunelark::CommonDialog& d) override {
    d.FileName = path_;
    return true;
  }
  bool ShowSave(tunelark::CommonDialog&) override { return false; }

 private:
  std::string path_;
};

void report(const char* what, int runs, const std::function<void()>& prepare,
            const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto start = Clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%-48s median %7.3f ms   slowest %7.3f ms   (%d runs, target < 5 ms)\n", what,
              ms[ms.size() / 2], ms.back(), runs);
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "tunelark-bench.XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const std::string folder = pattern;
  setenv("TUNELARK_WINDIR", (folder + "/win").c_str(), 1);

  // Long folder names bring 80 lines of existing clips to just under 100,000 bytes.
  fs::path clips = folder;
  for (int depth = 0; depth < 5; ++depth) clips /= std::string(240, static_cast<char>('a' + depth));
  fs::create_directories(clips);
  std::string text;
  for (int i = 0; i < 80; ++i) {
    const fs::path clip = clips / ("clip" + std::to_string(79 - i) + ".ra");
    std::ofstream(clip) << "x";
    text += "file:" + clip.string() + "\r\n";
  }
  text.resize(std::min<std::size_t>(text.size(), 100000));
  const std::string list = folder + "/list.ram";
  std::ofstream(list, std::ios::binary) << text;
  std::printf("playlist of %zu bytes, 80 entries whose clips exist\n", text.size());

  tunelark::AppState app;
  tunelark::QuietHost host;
  FixedDialogs dialogs(list);
  tunelark::Form1 form(app, host, dialogs);
  form.Form_Load();
  // Every edit rewrites the opened file; each run starts again from the original.
  const auto reopen = [&] {
    std::ofstream(list, std::ios::binary | std::ios::trunc) << text;
    form.Image10_Click();
  };
  const auto none = [] {};
  const auto selectSome = [&] {
    for (int i = 0; i < form.List1.ListCount(); ++i) form.List1.setSelected(i, i % 7 == 3);
  };

  report("Open (read, 80 lookups, rows)", 200, none, [&] { form.Image10_Click(); });
  report("sort ascending (rewrite, rows)", 200, reopen, [&] { form.Image23_Click(); });
  report("sort descending (rewrite, rows)", 200, reopen, [&] { form.Image25_Click(); });
  report("shuffle (rewrite, rows)", 200, reopen, [&] { form.Image24_Click(); });
  report(
      "move up, every 7th row (rewrite, rows)", 200,
      [&] {
        reopen();
        selectSome();
      },
      [&] { form.Image31_Click(); });
  report(
      "move down, every 7th row (rewrite, rows)", 200,
      [&] {
        reopen();
        selectSome();
      },
      [&] { form.Image32_Click(); });
  report(
      "remove every 7th row (rewrite, rows)", 200,
      [&] {
        reopen();
        selectSome();
      },
      [&] { form.Image22_Click(); });

  fs::remove_all(folder);
  return 0;
}
