// PNG files written with libpng, loaded on first use (png_library.h).
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_PNG_WRITER_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_PNG_WRITER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace brantvell {

// An 8-bit RGBA image (rows top-down, `width` * `height` * 4 bytes) as the
// bytes of a PNG file; false when libpng fails or cannot be loaded.
bool EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba, std::string* png);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_PNG_WRITER_H_
