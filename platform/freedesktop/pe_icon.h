// The first icon of a Windows executable (PE file), as PNG images: the
// first RT_GROUP_ICON resource and the RT_ICON images it names. PNG images
// are passed through; device-independent bitmaps (1, 4, 8, 24 or 32 bits,
// with their mask) are converted. The file's bytes are untrusted: every
// offset and size is checked against them.
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_PE_ICON_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_PE_ICON_H_

#include <cstdint>
#include <string>
#include <vector>

namespace brantvell {

struct IconImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::string png;  // the image as a PNG file
};

// The images of the file's first icon, at most one per size (the one with
// the most colours); empty when the bytes are no PE file with an icon.
std::vector<IconImage> ReadPeIcon(const std::string& file);

// One icon image (PNG or bitmap) as a PNG file; false when it is neither.
bool IconImageToPng(const std::string& image, IconImage* out);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_PE_ICON_H_
