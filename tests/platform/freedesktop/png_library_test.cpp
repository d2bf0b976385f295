// Loading libpng by name: a library that is there and complete is taken,
// anything else is refused with a cause naming the library and what failed.
#include "platform/freedesktop/png_library.h"

#include <gtest/gtest.h>

#include <string>

namespace brantvell {
namespace {

TEST(PngLibrary, TakesOnlyALibraryWithEveryFunction) {
  struct Case {
    const char* name;
    bool loads;
    const char* why;  // how the cause starts
  } cases[] = {
      {"libpng16.so.16", true, ""},
      {"libbrantvell-absent.so.7", false, "libbrantvell-absent.so.7 cannot be loaded: "},
      // A real library without the functions (libpng's own compressor).
      {"libz.so.1", false, "libz.so.1 lacks the function png_create_write_struct"},
      {"/nonexistent/libpng16.so.16", false, "/nonexistent/libpng16.so.16 cannot be loaded: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PngLibrary library;
    std::string why;
    EXPECT_EQ(LoadPngLibrary(c.name, &library, &why), c.loads);
    EXPECT_EQ(why.rfind(c.why, 0), 0u) << why;
    if (c.loads) {
      EXPECT_TRUE(why.empty());
      EXPECT_NE(library.write_png, nullptr);
      EXPECT_NE(library.set_longjmp_fn, nullptr);
    } else {
      EXPECT_EQ(library.create_write_struct, nullptr);  // nothing half taken
    }
  }
}

TEST(PngLibrary, TheRunsLibraryIsLoadedOnce) {
  const PngLibrary* first = Png();
  ASSERT_NE(first, nullptr) << PngLibraryProblem();
  EXPECT_EQ(Png(), first);
  EXPECT_TRUE(PngLibraryProblem().empty());
}

}  // namespace
}  // namespace brantvell
