#include "platform/windows_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tunelark {

namespace {

namespace fs = std::filesystem;

std::string variable(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment ? environment(name) : nullptr;
  return value ? std::string(value) : std::string();
}

std::string homeFromUserDatabase() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_dir) {
    return {};
  }
  return found->pw_dir;
}

// The folder the environment names, before it is made absolute and created.
fs::path chooseFolder(const EnvironmentLookup& environment) {
  if (auto own = variable(environment, "TUNELARK_WINDIR"); !own.empty()) return own;
  // A relative XDG_CONFIG_HOME is invalid by the XDG rules and is ignored.
  if (auto xdg = variable(environment, "XDG_CONFIG_HOME"); !xdg.empty() && xdg.front() == '/') {
    return fs::path(xdg) / "tunelark";
  }
  auto home = variable(environment, "HOME");
  if (home.empty()) home = homeFromUserDatabase();
  if (home.empty()) return {};
  return fs::path(home) / ".config" / "tunelark";
}

}  // namespace

std::string getwindowsdir(const EnvironmentLookup& environment) {
  const fs::path chosen = chooseFolder(environment);
  if (chosen.empty()) return {};
  std::error_code ec;
  fs::path folder = fs::absolute(chosen, ec);
  if (ec) return {};
  folder = folder.lexically_normal();
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) return {};
  std::string text = folder.string();
  while (!text.empty() && text.back() == '/') text.pop_back();
  return text;
}

std::string getwindowsdir() {
  return getwindowsdir([](const char* name) { return std::getenv(name); });
}

}  // namespace tunelark
