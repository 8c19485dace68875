#pragma once
// The clip file list (File1) as plain data. Filled in by the browser code.

#include "ui/control.h"

namespace tunelark {

class FileListBox {
 public:
  Control box;  // position and size in the browser area
};

}  // namespace tunelark
