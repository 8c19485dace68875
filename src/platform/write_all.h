#pragma once
// Writes every byte or says why not: a short write is retried, an interrupted one too.

#include <string_view>

namespace tunelark {

// 0 when all of `bytes` reached `fd`, else the errno value of the failure (EIO for a write
// that made no progress).
int writeAll(int fd, std::string_view bytes);

}  // namespace tunelark
