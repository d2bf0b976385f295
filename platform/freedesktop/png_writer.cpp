#include "platform/freedesktop/png_writer.h"

#include "platform/freedesktop/freedesktop.h"

#include <csetjmp>

#include "platform/freedesktop/png_library.h"

namespace brantvell {

namespace {

// Called by libpng while it writes, so the library is loaded.
void Append(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(Png()->get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void Flush(png_structp) {}

}  // namespace

bool EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
               std::string* out) {
  if (width == 0 || height == 0 || rgba.size() != size_t{width} * height * 4) return false;
  const PngLibrary* lib = Png();
  if (lib == nullptr) return false;
  png_structp png = lib->create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = lib->create_info_struct(png);
  std::string bytes;
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y)
    rows[y] = const_cast<png_bytep>(rgba.data() + size_t{y} * width * 4);
  // libpng reports its errors by a long jump back here (what png_jmpbuf
  // does, through the loaded library).
  if (info == nullptr || setjmp(*lib->set_longjmp_fn(png, std::longjmp, sizeof(std::jmp_buf)))) {
    lib->destroy_write_struct(&png, &info);
    return false;
  }
  lib->set_write_fn(png, &bytes, Append, Flush);
  lib->set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  lib->set_rows(png, info, rows.data());
  lib->write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  lib->destroy_write_struct(&png, &info);
  *out = std::move(bytes);
  return true;
}

}  // namespace brantvell
