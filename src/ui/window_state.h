#pragma once
// A window's state beside its visibility: shown normally or minimised. A hidden window keeps its
// state and shows it again when it is shown.

namespace tunelark {

enum class ShowState { Normal, Minimised };

}  // namespace tunelark
