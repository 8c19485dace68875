#pragma once
// The file-type dialog ("Option") as a model. Filled in by the browser code.

namespace tunelark {

class Form5 {};

}  // namespace tunelark
