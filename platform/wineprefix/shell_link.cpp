#include "platform/wineprefix/shell_link.h"

#include "platform/wineprefix/wineprefix.h"

#include <cstddef>

#include "platform/error.h"
#include "platform/text.h"
#include "platform/wineprefix/cp1250.h"

namespace brantvell {

namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// The class identifier of shell links, 00021401-0000-0000-C000-000000000046,
// in its on-disk byte order.
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// LinkFlags bits.
constexpr uint32_t kHasLinkTargetIdList = 0x01;
constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasName = 0x04;
constexpr uint32_t kHasRelativePath = 0x08;
constexpr uint32_t kHasWorkingDir = 0x10;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kHasIconLocation = 0x40;
constexpr uint32_t kIsUnicode = 0x80;

// LinkInfo: a header with the Unicode offsets, so its size is 0x24.
constexpr uint32_t kLinkInfoHeaderSize = 0x24;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kDriveFixed = 3;

// String data counts characters in 16 bits; longer texts are refused.
constexpr size_t kMaxTextUnits = 32767;

void PutU16(std::string* out, uint32_t v) {
  out->push_back(static_cast<char>(v & 0xFF));
  out->push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutU32(std::string* out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

void SetU32(std::string* out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*out)[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutUnits(std::string* out, const std::u16string& units) {
  for (char16_t u : units) PutU16(out, u);
}

Error InvalidArgument() { return ComponentError(kErrInvalidProcedureCall); }

std::u16string CheckedUnits(const std::string& text) {
  std::u16string units = Utf8ToUtf16(text);
  if (units.size() > kMaxTextUnits) throw InvalidArgument();
  return units;
}

// The LinkInfo structure for a target on a local fixed volume.
std::string LinkInfoFor(const std::u16string& target) {
  std::string ansi = Utf8ToCp1250(Utf16ToUtf8(target));
  std::string info(kLinkInfoHeaderSize, '\0');
  SetU32(&info, 8, kVolumeIdAndLocalBasePath);
  SetU32(&info, 12, static_cast<uint32_t>(info.size()));  // VolumeID
  // VolumeID: size, drive type, serial number, label offset, empty label.
  PutU32(&info, 0x11);
  PutU32(&info, kDriveFixed);
  PutU32(&info, 0);
  PutU32(&info, 0x10);
  info.push_back('\0');
  SetU32(&info, 16, static_cast<uint32_t>(info.size()));  // LocalBasePath
  info += ansi;
  info.push_back('\0');
  SetU32(&info, 24, static_cast<uint32_t>(info.size()));  // CommonPathSuffix
  info.push_back('\0');
  if (info.size() % 2 != 0) info.push_back('\0');         // UTF-16 on an even offset
  SetU32(&info, 28, static_cast<uint32_t>(info.size()));  // LocalBasePathUnicode
  PutUnits(&info, target);
  PutU16(&info, 0);
  SetU32(&info, 32, static_cast<uint32_t>(info.size()));  // CommonPathSuffixUnicode
  PutU16(&info, 0);
  SetU32(&info, 0, static_cast<uint32_t>(info.size()));
  SetU32(&info, 4, kLinkInfoHeaderSize);
  return info;
}

// A bounds-checked little-endian reader over the file's bytes.
class ByteReader {
 public:
  explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}

  size_t size() const { return bytes_.size(); }

  bool U16(size_t at, uint32_t* v) const {
    if (at > bytes_.size() || bytes_.size() - at < 2) return false;
    *v = Byte(at) | (Byte(at + 1) << 8);
    return true;
  }

  bool U32(size_t at, uint32_t* v) const {
    uint32_t lo, hi;
    if (!U16(at, &lo) || !U16(at + 2, &hi)) return false;
    *v = lo | (hi << 16);
    return true;
  }

  // NUL-terminated ANSI text in [at, end).
  bool AnsiZ(size_t at, size_t end, std::string* text) const {
    for (size_t i = at; i < end && i < bytes_.size(); ++i) {
      if (bytes_[i] == '\0') {
        *text = Cp1250ToUtf8(bytes_.substr(at, i - at));
        return true;
      }
    }
    return false;
  }

  // NUL-terminated UTF-16 text in [at, end).
  bool UnicodeZ(size_t at, size_t end, std::string* text) const {
    std::u16string units;
    for (size_t i = at; i + 1 < end && i + 1 < bytes_.size(); i += 2) {
      char16_t unit = static_cast<char16_t>(Byte(i) | (Byte(i + 1) << 8));
      if (unit == 0) {
        *text = Utf16ToUtf8(units);
        return true;
      }
      units.push_back(unit);
    }
    return false;
  }

  // Counted string data at `*at`; advances past it.
  bool Counted(size_t* at, bool unicode, std::string* text) const {
    uint32_t count;
    if (!U16(*at, &count)) return false;
    size_t start = *at + 2;
    size_t length = unicode ? count * 2u : count;
    if (start > bytes_.size() || bytes_.size() - start < length) return false;
    if (unicode) {
      std::u16string units;
      for (size_t i = 0; i < count; ++i)
        units.push_back(
            static_cast<char16_t>(Byte(start + 2 * i) | (Byte(start + 2 * i + 1) << 8)));
      *text = Utf16ToUtf8(units);
    } else {
      *text = Cp1250ToUtf8(bytes_.substr(start, length));
    }
    *at = start + length;
    return true;
  }

 private:
  uint32_t Byte(size_t at) const { return static_cast<unsigned char>(bytes_[at]); }

  const std::string& bytes_;
};

// The target path from the LinkInfo at `at` of `size` bytes.
bool ReadLinkInfo(const ByteReader& in, size_t at, uint32_t size, std::string* target) {
  uint32_t header_size, flags, base_offset, suffix_offset;
  if (!in.U32(at + 4, &header_size) || !in.U32(at + 8, &flags) || !in.U32(at + 16, &base_offset) ||
      !in.U32(at + 24, &suffix_offset))
    return false;
  if (header_size < 0x1C || header_size > size) return false;
  target->clear();
  if ((flags & kVolumeIdAndLocalBasePath) == 0) return true;  // a network target: no local path
  size_t end = at + size;
  std::string base, suffix;
  uint32_t base_unicode = 0, suffix_unicode = 0;
  if (header_size >= 0x24 && (!in.U32(at + 28, &base_unicode) || !in.U32(at + 32, &suffix_unicode)))
    return false;
  if (base_unicode != 0) {
    if (base_unicode >= size || !in.UnicodeZ(at + base_unicode, end, &base)) return false;
  } else if (base_offset == 0 || base_offset >= size || !in.AnsiZ(at + base_offset, end, &base)) {
    return false;
  }
  if (suffix_unicode != 0) {
    if (suffix_unicode >= size || !in.UnicodeZ(at + suffix_unicode, end, &suffix)) return false;
  } else if (suffix_offset != 0) {
    if (suffix_offset >= size || !in.AnsiZ(at + suffix_offset, end, &suffix)) return false;
  }
  *target = base + suffix;
  return true;
}

}  // namespace

std::string WriteShellLink(const ShellLinkData& link) {
  std::u16string target = CheckedUnits(link.target_path);
  if (target.empty() || target.find(u'\0') != std::u16string::npos) throw InvalidArgument();
  std::u16string description = CheckedUnits(link.description);
  std::u16string working_directory = CheckedUnits(link.working_directory);
  std::u16string arguments = CheckedUnits(link.arguments);
  std::u16string icon_path = CheckedUnits(link.icon_path);

  uint32_t flags = kHasLinkInfo | kIsUnicode;
  if (!description.empty()) flags |= kHasName;
  if (!working_directory.empty()) flags |= kHasWorkingDir;
  if (!arguments.empty()) flags |= kHasArguments;
  if (!icon_path.empty()) flags |= kHasIconLocation;

  std::string out;
  PutU32(&out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof kLinkClsid);
  PutU32(&out, flags);
  PutU32(&out, 0);       // FileAttributes
  out.append(24, '\0');  // creation, access, write times
  PutU32(&out, 0);       // FileSize
  PutU32(&out, static_cast<uint32_t>(link.icon_index));
  PutU32(&out, link.show_command);
  PutU16(&out, link.hotkey);
  out.append(10, '\0');  // reserved

  out += LinkInfoFor(target);

  // String data, in the order the format fixes.
  for (const std::u16string* text : {&description, &working_directory, &arguments, &icon_path}) {
    if (text->empty()) continue;
    PutU16(&out, static_cast<uint32_t>(text->size()));
    PutUnits(&out, *text);
  }
  PutU32(&out, 0);  // terminal block: no extra data
  return out;
}

bool ReadShellLink(const std::string& bytes, ShellLinkData* link) {
  ByteReader in(bytes);
  uint32_t header_size;
  if (!in.U32(0, &header_size) || header_size != kHeaderSize || bytes.size() < kHeaderSize)
    return false;
  if (bytes.compare(4, 16, reinterpret_cast<const char*>(kLinkClsid), 16) != 0) return false;

  ShellLinkData result;
  uint32_t flags = 0, icon_index = 0, show_command = 0, hotkey = 0;
  in.U32(0x14, &flags);
  in.U32(0x38, &icon_index);
  in.U32(0x3C, &show_command);
  in.U16(0x40, &hotkey);
  result.icon_index = static_cast<int32_t>(icon_index);
  result.show_command = show_command;
  result.hotkey = static_cast<uint16_t>(hotkey);

  size_t at = kHeaderSize;
  if (flags & kHasLinkTargetIdList) {
    uint32_t id_list_size;
    if (!in.U16(at, &id_list_size)) return false;
    at += 2 + id_list_size;
  }
  if (flags & kHasLinkInfo) {
    uint32_t info_size;
    if (!in.U32(at, &info_size) || info_size < 0x1C || bytes.size() - at < info_size) return false;
    if (!ReadLinkInfo(in, at, info_size, &result.target_path)) return false;
    at += info_size;
  }
  bool unicode = (flags & kIsUnicode) != 0;
  std::string relative_path;
  struct Field {
    uint32_t flag;
    std::string* text;
  };
  for (const Field& field :
       {Field{kHasName, &result.description}, Field{kHasRelativePath, &relative_path},
        Field{kHasWorkingDir, &result.working_directory}, Field{kHasArguments, &result.arguments},
        Field{kHasIconLocation, &result.icon_path}}) {
    if ((flags & field.flag) && !in.Counted(&at, unicode, field.text)) return false;
  }
  *link = std::move(result);
  return true;
}

}  // namespace brantvell
