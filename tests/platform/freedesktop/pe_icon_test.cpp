// The icon reader on small PE files made here: the images it finds and
// their pixels, and that every damaged offset or size gives no icon instead
// of a read past the file.
#include "platform/freedesktop/pe_icon.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

namespace brantvell {
namespace {

void Put16(std::string* s, size_t at, uint32_t v) {
  (*s)[at] = static_cast<char>(v), (*s)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* s, size_t at, uint32_t v) {
  Put16(s, at, v & 0xFFFF), Put16(s, at + 2, v >> 16);
}

// A 2x2 bitmap icon image: BITMAPINFOHEADER, for `bits` 4 a palette of
// 16, the rows bottom-up, then the mask (top-left pixel transparent).
std::string Bitmap(uint32_t bits) {
  uint32_t colours = bits == 4 ? 16 : 0;
  uint32_t stride = (2 * bits + 31) / 32 * 4;
  std::string b(40 + colours * 4 + stride * 2 + 4 * 2, '\0');
  Put32(&b, 0, 40), Put32(&b, 4, 2), Put32(&b, 8, 4), Put16(&b, 12, 1), Put16(&b, 14, bits);
  size_t pixels = 40 + colours * 4;
  if (bits == 4) {
    Put32(&b, 40 + 4, 0x00FF0000);  // colour 1: red (stored B, G, R, 0)
    b[pixels] = 0x11;               // bottom row: both colour 1
    b[pixels + stride] = 0x10;      // top row: colour 1, colour 0
  } else {
    for (size_t i = 0; i < 4; ++i) b[pixels + (i / 2) * stride + (i % 2) * (bits / 8) + 2] = '\xff';
  }
  b[pixels + stride * 2 + 4] = '\x80';  // top row (the last one), first pixel masked
  return b;
}

// A PE32+ file with one .rsrc section holding RT_ICON 1 (`image`) and
// RT_GROUP_ICON 1 naming it at `side` pixels.
std::string PeWithIcon(const std::string& image, uint32_t side = 2) {
  std::string group(6 + 14, '\0');
  Put16(&group, 2, 1), Put16(&group, 4, 1);
  group[6] = static_cast<char>(side), group[7] = static_cast<char>(side);
  Put16(&group, 6 + 4, 1), Put16(&group, 6 + 6, 32), Put32(&group, 6 + 8, image.size());
  Put16(&group, 6 + 12, 1);
  // Resource tree: root (2 types) at 0, type dirs at 32 and 56, language
  // dirs at 80 and 104, data entries at 128 and 144, data from 160.
  std::string rsrc(160, '\0');
  auto dir = [&](size_t at, uint32_t id, uint32_t target) {
    Put16(&rsrc, at + 14, 1), Put32(&rsrc, at + 16, id), Put32(&rsrc, at + 20, target);
  };
  Put16(&rsrc, 14, 2);
  Put32(&rsrc, 16, 3), Put32(&rsrc, 20, 0x80000000u | 32);
  Put32(&rsrc, 24, 14), Put32(&rsrc, 28, 0x80000000u | 56);
  dir(32, 1, 0x80000000u | 80), dir(56, 1, 0x80000000u | 104);
  dir(80, 0x409, 128), dir(104, 0x409, 144);
  Put32(&rsrc, 128, 0x1000 + 160), Put32(&rsrc, 132, image.size());
  Put32(&rsrc, 144, 0x1000 + 160 + image.size()), Put32(&rsrc, 148, group.size());
  rsrc += image + group;

  std::string pe(0x200, '\0');
  pe[0] = 'M', pe[1] = 'Z';
  Put32(&pe, 0x3C, 0x40);
  std::memcpy(&pe[0x40], "PE\0\0", 4);
  Put16(&pe, 0x44, 0x8664), Put16(&pe, 0x46, 1), Put16(&pe, 0x54, 240);
  size_t opt = 0x58;
  Put16(&pe, opt, 0x20B), Put32(&pe, opt + 108, 16);
  Put32(&pe, opt + 112 + 16, 0x1000), Put32(&pe, opt + 112 + 20, rsrc.size());
  size_t section = opt + 240;
  std::memcpy(&pe[section], ".rsrc", 5);
  Put32(&pe, section + 8, rsrc.size()), Put32(&pe, section + 12, 0x1000);
  Put32(&pe, section + 16, rsrc.size()), Put32(&pe, section + 20, 0x200);
  return pe + rsrc;
}

// The RGBA pixels of a PNG file, read back with libpng.
std::vector<uint8_t> Pixels(const std::string& png, uint32_t* width) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  *width = image.width;
  return rgba;
}

TEST(PeIcon, ReadsBitmapImagesWithTheirMask) {
  for (uint32_t bits : {4u, 24u, 32u}) {
    SCOPED_TRACE(bits);
    std::vector<IconImage> images = ReadPeIcon(PeWithIcon(Bitmap(bits)));
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 2u);
    uint32_t width = 0;
    std::vector<uint8_t> rgba = Pixels(images[0].png, &width);
    ASSERT_EQ(rgba.size(), 16u);
    EXPECT_EQ(width, 2u);
    // Top-left masked out (32 bits: its own alpha is 0 everywhere, so the
    // mask decides); the others opaque red, except 4-bit top-right black.
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(rgba[8], 255);
    EXPECT_EQ(rgba[11], 255);
    EXPECT_EQ(rgba[4], bits == 4 ? 0 : 255);
  }
}

TEST(PeIcon, PassesPngImagesThrough) {
  std::string png;
  IconImage made;
  ASSERT_TRUE(IconImageToPng(Bitmap(24), &made));
  std::vector<IconImage> images = ReadPeIcon(PeWithIcon(made.png));
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].png, made.png);
}

// Damage at one place of a good file: the reader finds no icon.
TEST(PeIcon, DamagedFilesGiveNoIcon) {
  const std::string good = PeWithIcon(Bitmap(24));
  ASSERT_EQ(ReadPeIcon(good).size(), 1u);
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  } cases[] = {
      {"PE header offset past the end", 0x3C, 0x7FFFFFF0},
      {"PE signature", 0x40, 0x12345678},
      {"optional header too short for the table", 0x54, 100},
      {"section count far too high", 0x46, 0xFFFF},
      {"section raw data past the end", 0x58 + 240 + 20, 0xFFFFFF00},
      {"section too small for the tree", 0x58 + 240 + 16, 16},
      {"resource table outside the section", 0x58 + 128, 0x9000},
      {"root entry count huge", 0x200 + 14, 0xFFFF},
      {"type directory offset past the table", 0x200 + 28, 0x80FFFFF0},
      {"icon data address past the section", 0x200 + 128, 0x7FFFFFF0},
      {"icon data size past the section", 0x200 + 132, 0x10000},
      {"group data size past the section", 0x200 + 148, 0xFFFFFFFF},
      {"bitmap header size", 0x200 + 160, 12},
      {"bitmap width too large", 0x200 + 160 + 4, 100000},
      {"bitmap height huge", 0x200 + 160 + 8, 0xFFFFFFFE},
      {"bitmap compressed", 0x200 + 160 + 16, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bad = good;
    Put32(&bad, c.at, c.value);
    EXPECT_TRUE(ReadPeIcon(bad).empty());
  }
  for (size_t size = 0; size < good.size(); ++size) {
    SCOPED_TRACE(size);
    ASSERT_TRUE(ReadPeIcon(good.substr(0, size)).empty());
  }
}

}  // namespace
}  // namespace brantvell
