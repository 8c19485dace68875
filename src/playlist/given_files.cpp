#include "playlist/given_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/ascii.h"
#include "platform/path_parts.h"
#include "ui/form1.h"

namespace tunelark {

namespace {

const char* whyNot(GivenKind kind) {
  switch (kind) {
    case GivenKind::Missing:
      return "not found";
    case GivenKind::Folder:
      return "a folder";
    case GivenKind::Unreadable:
      return "cannot be read";
    default:
      return "neither a playlist (.ram) nor a clip (.ra, .rm)";
  }
}

}  // namespace

GivenKind givenKind(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return GivenKind::Missing;
  if (S_ISDIR(st.st_mode)) return GivenKind::Folder;
  const bool list = endsWithNoCase(path, ".ram");
  if (!S_ISREG(st.st_mode) ||
      (!list && !endsWithNoCase(path, ".ra") && !endsWithNoCase(path, ".rm")))
    return GivenKind::Other;
  if (::access(path.c_str(), R_OK) != 0) return GivenKind::Unreadable;
  return list ? GivenKind::List : GivenKind::Clip;
}

std::string absoluteGiven(const std::string& path, const std::string& cwd) {
  std::filesystem::path p(path);
  if (p.is_relative()) p = std::filesystem::path(cwd) / p;
  std::string out = p.lexically_normal().string();
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

void takeGivenFiles(Form1& form, const std::vector<std::string>& paths) {
  std::string lastList;
  std::vector<ClipFile> clips;
  std::string refused;
  const auto refuse = [&refused](const std::string& path, const std::string& why) {
    refused += "\n" + path + " (" + why + ")";
  };
  for (const auto& path : paths) {
    const GivenKind kind = givenKind(path);
    if (kind == GivenKind::List)
      lastList = path;  // the last of several playlists is the one that stays open
    else if (kind == GivenKind::Clip)
      clips.push_back({folderOf(path), baseName(path)});
    else
      refuse(path, whyNot(kind));
  }
  if (!lastList.empty()) {
    const std::string why = form.openListFile(lastList);
    if (!why.empty()) refuse(lastList, why);
  }
  if (!clips.empty()) form.addClipFiles(clips);
  if (!refused.empty()) form.host.messageBox("These files could not be taken:" + refused);
}

}  // namespace tunelark
