#pragma once
// The drive and folder tree as plain data (tvwControl). Filled in by the browser code.

#include "ui/control.h"

namespace tunelark {

class TreeView {
 public:
  Control box;  // position and size in the browser area
};

}  // namespace tunelark
