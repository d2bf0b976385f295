// libpng, loaded when the first icon is written rather than at every start:
// most runs write no icon, and a linked libpng (with libz and libm) costs
// every start its mapping and relocation.
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_PNG_LIBRARY_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_PNG_LIBRARY_H_

#include <png.h>

#include <string>

namespace brantvell {

// The libpng functions the PNG writer calls.
struct PngLibrary {
  decltype(&::png_create_write_struct) create_write_struct = nullptr;
  decltype(&::png_create_info_struct) create_info_struct = nullptr;
  decltype(&::png_destroy_write_struct) destroy_write_struct = nullptr;
  decltype(&::png_set_longjmp_fn) set_longjmp_fn = nullptr;
  decltype(&::png_set_write_fn) set_write_fn = nullptr;
  decltype(&::png_get_io_ptr) get_io_ptr = nullptr;
  decltype(&::png_set_IHDR) set_IHDR = nullptr;
  decltype(&::png_set_rows) set_rows = nullptr;
  decltype(&::png_write_png) write_png = nullptr;
};

// The library of that name (a soname looked up as the dynamic loader does)
// with all the functions above; false with `why` naming the library and
// what failed when it cannot be loaded or lacks one of them.
bool LoadPngLibrary(const char* name, PngLibrary* library, std::string* why);

// The run's libpng, "libpng16.so.16", loaded on the first call; null when it
// cannot be loaded, with PngLibraryProblem() saying why.
const PngLibrary* Png();

// Why the run's libpng could not be loaded; empty when it was loaded or not
// asked for yet.
const std::string& PngLibraryProblem();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_PNG_LIBRARY_H_
