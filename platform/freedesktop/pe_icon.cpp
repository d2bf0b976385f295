#include "platform/freedesktop/pe_icon.h"

#include "platform/freedesktop/freedesktop.h"

#include <map>

#include "platform/freedesktop/png_writer.h"

namespace brantvell {

namespace {

constexpr uint32_t kIconType = 3;        // RT_ICON
constexpr uint32_t kGroupIconType = 14;  // RT_GROUP_ICON
constexpr uint32_t kMaxSide = 256;
// Directories deeper or wider than this are not a real resource tree.
constexpr uint32_t kMaxEntries = 4096;

// Little-endian reads that fail instead of reading past the end.
class Bytes {
 public:
  explicit Bytes(const std::string& data) : data_(data) {}
  size_t size() const { return data_.size(); }
  bool Has(uint64_t offset, uint64_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }
  bool U16(uint64_t offset, uint32_t* value) const {
    if (!Has(offset, 2)) return false;
    *value = Byte(offset) | Byte(offset + 1) << 8;
    return true;
  }
  bool U32(uint64_t offset, uint32_t* value) const {
    if (!Has(offset, 4)) return false;
    *value = Byte(offset) | Byte(offset + 1) << 8 | Byte(offset + 2) << 16 |
             static_cast<uint32_t>(Byte(offset + 3)) << 24;
    return true;
  }
  uint32_t Byte(uint64_t offset) const { return static_cast<unsigned char>(data_[offset]); }
  std::string Slice(uint64_t offset, uint64_t count) const {
    return data_.substr(static_cast<size_t>(offset), static_cast<size_t>(count));
  }

 private:
  const std::string& data_;
};

struct Section {
  uint32_t address, size, raw_offset;
};

class PeFile {
 public:
  explicit PeFile(const std::string& data) : bytes_(data) {}

  // Reads the headers; false when the bytes are no PE file with resources.
  bool Open() {
    uint32_t pe = 0, sections = 0, optional_size = 0, magic = 0, signature = 0;
    if (!bytes_.U16(0, &magic) || magic != 0x5A4D || !bytes_.U32(0x3C, &pe)) return false;
    if (!bytes_.U32(pe, &signature) || signature != 0x00004550) return false;
    if (!bytes_.U16(uint64_t{pe} + 6, &sections) || !bytes_.U16(uint64_t{pe} + 20, &optional_size))
      return false;
    uint64_t optional = uint64_t{pe} + 24;
    if (!bytes_.U16(optional, &magic)) return false;
    uint64_t count_at, directories;
    if (magic == 0x10B) {
      count_at = optional + 92;
      directories = optional + 96;
    } else if (magic == 0x20B) {
      count_at = optional + 108;
      directories = optional + 112;
    } else {
      return false;
    }
    uint32_t count = 0;
    // The resource table is data directory 2.
    if (!bytes_.U32(count_at, &count) || count < 3 ||
        directories + 3 * 8 > optional + optional_size)
      return false;
    if (!bytes_.U32(directories + 16, &resource_rva_)) return false;
    uint64_t table = optional + optional_size;
    for (uint32_t i = 0; i < sections; ++i) {
      Section s{};
      uint64_t at = table + uint64_t{i} * 40;
      uint32_t virtual_size = 0;
      if (!bytes_.U32(at + 8, &virtual_size) || !bytes_.U32(at + 12, &s.address) ||
          !bytes_.U32(at + 16, &s.size) || !bytes_.U32(at + 20, &s.raw_offset))
        return false;
      sections_.push_back(s);
    }
    return Offset(resource_rva_, 16, &resource_root_);
  }

  // The file offset of `count` bytes at address `rva`, inside one section's
  // raw data and inside the file.
  bool Offset(uint64_t rva, uint64_t count, uint64_t* offset) const {
    for (const Section& s : sections_) {
      if (rva < s.address || rva - s.address >= s.size || count > s.size - (rva - s.address))
        continue;
      uint64_t at = s.raw_offset + (rva - s.address);
      if (!bytes_.Has(at, count)) return false;
      *offset = at;
      return true;
    }
    return false;
  }

  // The entries of the resource directory at `offset` in the resource
  // table: id (or name flag) and target, in file order.
  bool Entries(uint64_t directory, std::vector<std::pair<uint32_t, uint32_t>>* entries) const {
    uint32_t named = 0, ids = 0;
    uint64_t at = 0;
    if (!Offset(resource_rva_ + directory, 16, &at) || !bytes_.U16(at + 12, &named) ||
        !bytes_.U16(at + 14, &ids) || named + ids > kMaxEntries)
      return false;
    uint64_t list = 0;
    if (!Offset(resource_rva_ + directory + 16, uint64_t{named + ids} * 8, &list)) return false;
    entries->clear();
    for (uint32_t i = 0; i < named + ids; ++i) {
      uint32_t name = 0, target = 0;
      bytes_.U32(list + uint64_t{i} * 8, &name);
      bytes_.U32(list + uint64_t{i} * 8 + 4, &target);
      entries->emplace_back(name, target);
    }
    return true;
  }

  // The data of the first language of resource `type` / `id` (the first
  // resource of the type when `id` is 0).
  bool Resource(uint32_t type, uint32_t id, std::string* data) const {
    std::vector<std::pair<uint32_t, uint32_t>> entries;
    uint32_t target = 0;
    if (!Entries(0, &entries) || !Find(entries, type, false, &target)) return false;
    if (!Entries(target & 0x7FFFFFFF, &entries) || !Find(entries, id, id == 0, &target))
      return false;
    if (!Entries(target & 0x7FFFFFFF, &entries) || entries.empty() || (entries[0].second >> 31))
      return false;
    uint64_t entry = 0;
    uint32_t rva = 0, size = 0;
    if (!Offset(resource_rva_ + uint64_t{entries[0].second}, 16, &entry) ||
        !bytes_.U32(entry, &rva) || !bytes_.U32(entry + 4, &size))
      return false;
    uint64_t at = 0;
    if (!Offset(rva, size, &at)) return false;
    *data = bytes_.Slice(at, size);
    return true;
  }

 private:
  // A subdirectory entry with this id (or the first one when `any`).
  static bool Find(const std::vector<std::pair<uint32_t, uint32_t>>& entries, uint32_t id, bool any,
                   uint32_t* target) {
    for (const auto& entry : entries) {
      if ((any || entry.first == id) && (entry.second >> 31)) {
        *target = entry.second;
        return true;
      }
    }
    return false;
  }

  Bytes bytes_;
  std::vector<Section> sections_;
  uint32_t resource_rva_ = 0;
  uint64_t resource_root_ = 0;
};

bool IsPng(const std::string& image) { return image.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) == 0; }

// A bitmap icon image: BITMAPINFOHEADER, palette, colour rows, mask rows,
// all bottom-up. The header's height counts both the colours and the mask.
bool BitmapToRgba(const std::string& image, uint32_t* width, uint32_t* height,
                  std::vector<uint8_t>* rgba) {
  Bytes b(image);
  uint32_t header = 0, w = 0, h2 = 0, planes = 0, bits = 0, compression = 0, used = 0;
  if (!b.U32(0, &header) || header < 40 || !b.U32(4, &w) || !b.U32(8, &h2) || !b.U16(12, &planes) ||
      !b.U16(14, &bits) || !b.U32(16, &compression) || !b.U32(32, &used))
    return false;
  uint32_t h = h2 / 2;
  if (w == 0 || w > kMaxSide || h == 0 || h > kMaxSide || compression != 0) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  uint32_t colours = bits <= 8 ? (used != 0 && used < (1u << bits) ? used : 1u << bits) : 0;
  uint64_t palette = header;
  uint64_t pixels = palette + uint64_t{colours} * 4;
  uint64_t stride = (uint64_t{w} * bits + 31) / 32 * 4;
  uint64_t mask = pixels + stride * h;
  uint64_t mask_stride = (uint64_t{w} + 31) / 32 * 4;
  if (!b.Has(pixels, stride * h)) return false;
  // Some 32-bit images leave the mask out: their alpha says it all.
  bool has_mask = b.Has(mask, mask_stride * h);
  if (!has_mask && bits != 32) return false;
  rgba->assign(size_t{w} * h * 4, 0);
  bool any_alpha = false;
  for (uint32_t y = 0; y < h; ++y) {
    uint64_t row = pixels + stride * (h - 1 - y);
    for (uint32_t x = 0; x < w; ++x) {
      uint8_t* out = &(*rgba)[(size_t{y} * w + x) * 4];
      uint32_t blue, green, red, alpha = 255;
      if (bits >= 24) {
        uint64_t at = row + uint64_t{x} * (bits / 8);
        blue = b.Byte(at), green = b.Byte(at + 1), red = b.Byte(at + 2);
        if (bits == 32) alpha = b.Byte(at + 3);
      } else {
        uint64_t bit = uint64_t{x} * bits;
        uint32_t index = (b.Byte(row + bit / 8) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        if (index >= colours) return false;
        uint64_t at = palette + uint64_t{index} * 4;
        blue = b.Byte(at), green = b.Byte(at + 1), red = b.Byte(at + 2);
      }
      if (bits == 32 && alpha != 0) any_alpha = true;
      out[0] = static_cast<uint8_t>(red);
      out[1] = static_cast<uint8_t>(green);
      out[2] = static_cast<uint8_t>(blue);
      out[3] = static_cast<uint8_t>(alpha);
    }
  }
  // The mask decides transparency unless a 32-bit image has its own alpha.
  if (has_mask && !(bits == 32 && any_alpha)) {
    for (uint32_t y = 0; y < h; ++y) {
      uint64_t row = mask + mask_stride * (h - 1 - y);
      for (uint32_t x = 0; x < w; ++x) {
        bool clear = (b.Byte(row + x / 8) >> (7 - x % 8)) & 1;
        (*rgba)[(size_t{y} * w + x) * 4 + 3] = clear ? 0 : 255;
      }
    }
  }
  *width = w;
  *height = h;
  return true;
}

}  // namespace

bool IconImageToPng(const std::string& image, IconImage* out) {
  if (IsPng(image)) {
    Bytes b(image);
    uint32_t w = 0, h = 0;
    // The IHDR chunk comes first: width and height big-endian at 16 and 20.
    if (!b.Has(16, 8) || image.compare(12, 4, "IHDR") != 0) return false;
    w = b.Byte(16) << 24 | b.Byte(17) << 16 | b.Byte(18) << 8 | b.Byte(19);
    h = b.Byte(20) << 24 | b.Byte(21) << 16 | b.Byte(22) << 8 | b.Byte(23);
    if (w == 0 || w > kMaxSide || h == 0 || h > kMaxSide) return false;
    out->width = w;
    out->height = h;
    out->png = image;
    return true;
  }
  std::vector<uint8_t> rgba;
  if (!BitmapToRgba(image, &out->width, &out->height, &rgba)) return false;
  return EncodePng(out->width, out->height, rgba, &out->png);
}

std::vector<IconImage> ReadPeIcon(const std::string& file) {
  PeFile pe(file);
  std::string group;
  if (!pe.Open() || !pe.Resource(kGroupIconType, 0, &group)) return {};
  Bytes g(group);
  uint32_t reserved = 0, type = 0, count = 0;
  if (!g.U16(0, &reserved) || !g.U16(2, &type) || !g.U16(4, &count) || reserved != 0 || type != 1)
    return {};
  // Per size, the image with the most bits per pixel.
  std::map<uint32_t, std::pair<uint32_t, IconImage>> best;
  for (uint32_t i = 0; i < count && g.Has(6 + uint64_t{i} * 14, 14); ++i) {
    uint32_t bits = 0, id = 0;
    g.U16(6 + uint64_t{i} * 14 + 6, &bits);
    g.U16(6 + uint64_t{i} * 14 + 12, &id);
    std::string data;
    IconImage image;
    if (id == 0 || !pe.Resource(kIconType, id, &data) || !IconImageToPng(data, &image)) continue;
    if (image.width != image.height) continue;
    auto found = best.find(image.width);
    if (found == best.end() || found->second.first < bits)
      best[image.width] = {bits, std::move(image)};
  }
  std::vector<IconImage> images;
  for (auto& entry : best) images.push_back(std::move(entry.second.second));
  return images;
}

}  // namespace brantvell
