#pragma once
// Reading one playlist line: "file:" forms, plain paths and URLs, with the "?name=value&..."
// parameters of a local path split off. Text in, structure out: nothing here touches a file.

#include <string_view>

#include "player/engine/clip.h"
#include "playlist/line_reading.h"

namespace tunelark::engine {

// One clip from one line. Network schemes outside the allowed set come back Unplayable, with
// the reason in `refusal`; so do "pnm://" entries, which are kept but cannot be played.
Clip parseSourceLine(std::string_view line);

// True for the network schemes a source may use (http, https, rtsp, rtp, udp, tcp, tls).
bool isAllowedNetworkScheme(std::string_view scheme);

}  // namespace tunelark::engine
