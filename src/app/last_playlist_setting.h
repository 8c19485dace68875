#pragma once
// The one value start-up and shutdown keep in the settings file: the path of the playlist that
// was current when the previous run ended (section "Dirlagu", key "file").

#include <optional>
#include <string>

namespace tunelark {

inline constexpr const char* kLastPlaylistSection = "Dirlagu";
inline constexpr const char* kLastPlaylistKey = "file";
inline constexpr const char* kSettingsFileName = "tunelark.ini";

// The stored path, whole. Nothing when the settings file or the key is missing (or the file
// cannot be read); an empty string when the key is there with no value.
std::optional<std::string> readLastPlaylist(const std::string& settingsPath);

// Stores `lastfile` through the atomic writer. False when it was not stored.
bool storeLastPlaylist(const std::string& settingsPath, const std::string& lastfile);

}  // namespace tunelark
