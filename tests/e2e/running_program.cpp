#include "running_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <vector>

extern char** environ;

namespace tunelark::e2e {

namespace fs = std::filesystem;

std::optional<WindowGeometry> geometryOf(const std::string& id) {
  if (id.empty()) return std::nullopt;
  const auto out = capture("xwininfo -id " + id + " 2>/dev/null");
  if (!out) return std::nullopt;
  WindowGeometry g;
  std::istringstream lines(*out);
  std::string line;
  int found = 0;
  auto read = [&line](const char* label, int& into) {
    const auto at = line.find(label);
    if (at == std::string::npos) return false;
    into = std::stoi(line.substr(at + std::string(label).size()));
    return true;
  };
  while (std::getline(lines, line)) {
    found += read("Absolute upper-left X:", g.x);
    found += read("Absolute upper-left Y:", g.y);
    found += read("Width:", g.width);
    found += read("Height:", g.height);
  }
  if (found != 4) return std::nullopt;
  return g;
}

void pressKeys(const std::string& keys) { capture("xdotool key --delay 40 " + keys); }

namespace {

// `text` as one word for the shell.
std::string quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

RunningProgram::RunningProgram(const tunelark::testing::TempDir& folder,
                               const std::map<std::string, std::string>& extraEnv,
                               const std::string& cwd, std::vector<std::string> args)
    : windir_(folder.str() + "/windir"),
      shots_(folder.str() + "/shots"),
      errorLog_(folder.str() + "/stderr.txt") {
  fs::create_directories(windir_);
  fs::create_directories(shots_);

  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry(*e);
    const auto eq = entry.find('=');
    if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  env["TUNELARK_WINDIR"] = windir_;
  env["TUNELARK_SCREENSHOT_DIR"] = shots_;
  env.erase("QT_QPA_PLATFORM");
  for (const auto& [k, v] : extraEnv) env[k] = v;
  std::vector<std::string> entries;
  for (const auto& [k, v] : env) entries.push_back(k + "=" + v);
  std::vector<char*> envp;
  for (auto& s : entries) envp.push_back(s.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errorLog_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  std::string exe = TUNELARK_EXE;
  std::vector<char*> argv{exe.data()};
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, exe.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

std::string RunningProgram::waitForWindow() {
  if (pid_ <= 0) return {};
  const std::string command =
      "xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null";
  waitFor([&] {
    const auto out = capture(command);
    if (!out || out->empty()) return false;
    window_ = out->substr(0, out->find('\n'));
    return true;
  });
  return window_;
}

void RunningProgram::pointerAt(int x, int y, const std::string& action,
                               const std::string& id) const {
  capture("xdotool mousemove --window " + (id.empty() ? window_ : id) + " " + std::to_string(x) +
          " " + std::to_string(y) + " " + action);
}

bool RunningProgram::shown() const {
  const auto out = capture("xwininfo -id " + window_ + " 2>/dev/null");
  return out && out->find("Map State: IsViewable") != std::string::npos;
}

std::string RunningProgram::waitForOther(
    const std::string& title, const std::function<bool(const WindowGeometry&)>& fits) const {
  std::string found;
  waitFor([&] {
    std::istringstream ids(
        capture("xdotool search --onlyvisible --pid " + std::to_string(pid_) + " 2>/dev/null")
            .value_or(""));
    for (std::string id; std::getline(ids, id);) {
      if (id == window_) continue;
      if (!title.empty() && capture("xdotool getwindowname " + id) != title + "\n") continue;
      const auto g = geometryOf(id);
      if (!g || (fits && !fits(*g))) continue;
      found = id;
      return true;
    }
    return false;
  });
  return found;
}

bool RunningProgram::typeInto(const std::string& title, const std::string& text) const {
  const std::string dialog = waitForOther(title);
  if (dialog.empty()) return false;
  // Separate commands: xdotool's type would take every word after it as text to type.
  return capture("xdotool windowfocus --sync " + dialog + " key --delay 40 ctrl+a") &&
         capture("xdotool type --delay 20 " + quoted(text)) && capture("xdotool key Return");
}

bool RunningProgram::screenshot(const std::string& target) const {
  const fs::path grab = fs::path(shots_) / "window.png";
  fs::remove(grab);
  signal(SIGUSR1);
  if (!waitFor([&] { return fs::exists(grab); })) return false;
  fs::create_directories(fs::path(target).parent_path());
  std::error_code ec;
  fs::copy_file(grab, target, fs::copy_options::overwrite_existing, ec);
  return !ec;
}

void RunningProgram::signal(int signo) const {
  if (pid_ > 0 && !reaped_) ::kill(pid_, signo);
}

std::optional<int> RunningProgram::waitForExit(std::chrono::milliseconds limit) {
  if (pid_ <= 0) return std::nullopt;
  int status = 0;
  const bool ended = waitFor(
      [&] {
        const pid_t r = ::waitpid(pid_, &status, WNOHANG);
        return r == pid_;
      },
      limit);
  if (!ended) return std::nullopt;
  reaped_ = true;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string RunningProgram::errors() const { return tunelark::testing::readFile(errorLog_); }

}  // namespace tunelark::e2e
