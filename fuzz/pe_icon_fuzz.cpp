// The icon reader on any bytes: as a PE file and as a lone icon image. It
// must never read outside them, and what it gives back must be PNG files of
// a size the icon theme can hold.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/freedesktop/pe_icon.h"

namespace {

void CheckImage(const brantvell::IconImage& image) {
  FUZZ_CHECK(image.width >= 1 && image.width <= 256 && image.height >= 1 && image.height <= 256,
             "an image is 1 to 256 pixels a side");
  FUZZ_CHECK(image.png.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) == 0, "an image is a PNG file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const brantvell::IconImage& image : brantvell::ReadPeIcon(bytes)) {
    CheckImage(image);
    FUZZ_CHECK(image.width == image.height, "an icon image is square");
  }
  brantvell::IconImage image;
  if (brantvell::IconImageToPng(bytes, &image)) CheckImage(image);
  return 0;
}
