#pragma once
// The folder that holds the settings file and the working list file: the stand-in for the
// Windows directory on this system.

#include <functional>
#include <string>

namespace tunelark {

// Reads one environment variable; nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// $TUNELARK_WINDIR when set and not empty, else $XDG_CONFIG_HOME/tunelark (when that is an
// absolute path), else $HOME/.config/tunelark (the home folder from the user database when HOME
// is not set). The folder is created with its parents when missing. The result is absolute and
// has no trailing "/" (so the root folder itself comes back as ""); it is "" when no folder can
// be found or created.
std::string getwindowsdir(const EnvironmentLookup& environment);

// The same, from the process's environment.
std::string getwindowsdir();

}  // namespace tunelark
