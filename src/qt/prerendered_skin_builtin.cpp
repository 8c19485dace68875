// The prerendered pixels are made at build time by skin_prerender and assembled into the
// program's read-only data as they are, so they are mapped from the file and never copied.
#include "qt/prerendered_skin.h"

#ifndef TUNELARK_SKIN_PIXELS_FILE
#error "the build names the prerendered skin file in TUNELARK_SKIN_PIXELS_FILE"
#endif

asm(".pushsection .rodata\n"
    ".balign 64\n"
    ".hidden tunelark_skin_pixels_begin\n"
    ".globl tunelark_skin_pixels_begin\n"
    "tunelark_skin_pixels_begin:\n"
    ".incbin \"" TUNELARK_SKIN_PIXELS_FILE
    "\"\n"
    ".hidden tunelark_skin_pixels_end\n"
    ".globl tunelark_skin_pixels_end\n"
    "tunelark_skin_pixels_end:\n"
    ".popsection\n");

extern "C" const unsigned char tunelark_skin_pixels_begin[];
extern "C" const unsigned char tunelark_skin_pixels_end[];

namespace tunelark::qt {

const PrerenderedSkin& PrerenderedSkin::builtIn() {
  static const PrerenderedSkin skin(
      tunelark_skin_pixels_begin,
      static_cast<std::size_t>(tunelark_skin_pixels_end - tunelark_skin_pixels_begin));
  return skin;
}

}  // namespace tunelark::qt
