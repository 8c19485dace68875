#include "app/last_playlist_setting.h"

#include "platform/profile_file.h"

namespace tunelark {

std::optional<std::string> readLastPlaylist(const std::string& settingsPath) {
  return ProfileFile(settingsPath).read(kLastPlaylistSection, kLastPlaylistKey);
}

bool storeLastPlaylist(const std::string& settingsPath, const std::string& lastfile) {
  return ProfileFile(settingsPath).write(kLastPlaylistSection, kLastPlaylistKey, lastfile);
}

}  // namespace tunelark
