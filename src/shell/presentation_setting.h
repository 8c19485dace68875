#pragma once
// The window presentation kept in the settings file: 1 taskbar only, 2 tray only, 3 both.
// Preferences writes it under section "Option" and the minimise button reads it under
// "option"; sections are matched without regard to case, so both name the same one.

#include <string>

namespace tunelark {

inline constexpr const char* kPresentationKey = "taskbar";

inline constexpr int kTaskbarOnly = 1;
inline constexpr int kTrayOnly = 2;
inline constexpr int kTaskbarAndTray = 3;

struct StoredPresentation {
  int value = 0;              // 0 when there is nothing usable: any value but 1 to 3 means taskbar
  bool noCharacters = false;  // the read gave back no characters at all (an empty value)
};

// Reads the stored value as the minimise button does: 50 characters at most, the settings path
// itself standing in for a missing key or file. What is not a whole number after trimming its
// spaces counts as 0.
StoredPresentation readPresentation(const std::string& settingsPath);

// Writes `value` as decimal text. False when it was not stored.
bool storePresentation(const std::string& settingsPath, int value);

}  // namespace tunelark
