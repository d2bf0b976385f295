// The Linux program's leading switches: which arguments they take out of
// the command text.
#include "platform/linux/program_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace brantvell {
namespace {

TEST(ProgramOptions, LeadingSwitchesAreNotCommandText) {
  char p[] = "brantvell", n[] = "--no-desktop-entries", h[] = "--help", v[] = "--version",
       end[] = "--", a[] = "/action=cz", x[] = "--x";
  struct Case {
    std::vector<char*> argv;
    int first;
    bool help, version, off, unknown;
  } cases[] = {
      {{p, a}, 1, false, false, false, false},      {{p, n, a}, 2, false, false, true, false},
      {{p, h}, 2, true, false, false, false},       {{p, v, n}, 3, false, true, true, false},
      {{p, end, n}, 2, false, false, false, false}, {{p, x, a}, 2, false, false, false, true},
      {{p, a, n}, 1, false, false, false, false},
  };
  for (Case& c : cases) {
    ProgramOptions o = ReadProgramOptions(static_cast<int>(c.argv.size()), c.argv.data());
    EXPECT_EQ(o.first_argument, c.first);
    EXPECT_EQ(o.help, c.help);
    EXPECT_EQ(o.version, c.version);
    EXPECT_EQ(o.no_desktop_entries, c.off);
    EXPECT_EQ(o.unknown != nullptr, c.unknown);
  }
}

}  // namespace
}  // namespace brantvell
