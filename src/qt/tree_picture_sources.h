#pragma once
// Where ImageList1's nine tree pictures come from: a desktop theme icon name where themes have
// one, and the skin's own picture otherwise.

namespace tunelark::qt {

// The picture's role and where it comes from.
struct TreePictureSource {
  const char* themeNames[2];  // tried in order; nullptr ends the list
  const char* bundled;        // skin picture name, used when the theme has none
};

// The tree draws its pictures at this logical size.
inline constexpr int kTreePictureSize = 16;

// Sources of ImageList1's pictures 1..9 (index 0, and any index outside, is an empty entry).
const TreePictureSource& treePictureSource(int index);

}  // namespace tunelark::qt
