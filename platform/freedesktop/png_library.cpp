#include "platform/freedesktop/png_library.h"

#include "platform/freedesktop/freedesktop.h"

#include <dlfcn.h>

namespace brantvell {

namespace {

template <typename Function>
bool Find(void* handle, const char* symbol, Function* function, std::string* missing) {
  *function = reinterpret_cast<Function>(::dlsym(handle, symbol));
  if (*function == nullptr && missing->empty()) *missing = symbol;
  return *function != nullptr;
}

struct RunLibrary {
  PngLibrary library;
  std::string problem;
  bool tried = false;
  bool loaded = false;
};

RunLibrary& Run() {
  static RunLibrary run;
  return run;
}

}  // namespace

bool LoadPngLibrary(const char* name, PngLibrary* library, std::string* why) {
  void* handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = ::dlerror();
    *why = std::string(name) + " cannot be loaded: " + (error != nullptr ? error : "unknown error");
    return false;
  }
  std::string missing;
  PngLibrary found;
  Find(handle, "png_create_write_struct", &found.create_write_struct, &missing);
  Find(handle, "png_create_info_struct", &found.create_info_struct, &missing);
  Find(handle, "png_destroy_write_struct", &found.destroy_write_struct, &missing);
  Find(handle, "png_set_longjmp_fn", &found.set_longjmp_fn, &missing);
  Find(handle, "png_set_write_fn", &found.set_write_fn, &missing);
  Find(handle, "png_get_io_ptr", &found.get_io_ptr, &missing);
  Find(handle, "png_set_IHDR", &found.set_IHDR, &missing);
  Find(handle, "png_set_rows", &found.set_rows, &missing);
  Find(handle, "png_write_png", &found.write_png, &missing);
  if (!missing.empty()) {
    ::dlclose(handle);
    *why = std::string(name) + " lacks the function " + missing;
    return false;
  }
  // Kept loaded for the rest of the run: the functions point into it.
  *library = found;
  return true;
}

const PngLibrary* Png() {
  RunLibrary& run = Run();
  if (!run.tried) {
    run.tried = true;
    run.loaded = LoadPngLibrary("libpng16.so.16", &run.library, &run.problem);
  }
  return run.loaded ? &run.library : nullptr;
}

const std::string& PngLibraryProblem() { return Run().problem; }

}  // namespace brantvell
