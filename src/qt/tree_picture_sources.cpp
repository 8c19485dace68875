#include "qt/tree_picture_sources.h"

#include <array>

namespace tunelark::qt {

namespace {

constexpr std::array<TreePictureSource, 10> kSources = {{
    {{nullptr, nullptr}, nullptr},
    {{"computer", nullptr}, "tree_computer"},
    {{"media-floppy", nullptr}, "tree_floppy"},
    {{"drive-harddisk", nullptr}, "tree_harddisk"},
    {{"media-optical", nullptr}, "tree_optical"},
    {{"drive-removable-media", nullptr}, "tree_removable"},
    {{"network-server", "folder-remote"}, "tree_network"},
    // Themes rarely draw a RAM disk; only a dedicated picture keeps it apart from a hard disk.
    {{"media-memory", nullptr}, "tree_ram"},
    {{"folder", nullptr}, "tree_folder"},
    {{"folder-open", nullptr}, "tree_folder_open"},
}};

}  // namespace

const TreePictureSource& treePictureSource(int index) {
  return kSources.at(index >= 1 && index <= 9 ? index : 0);
}

}  // namespace tunelark::qt
