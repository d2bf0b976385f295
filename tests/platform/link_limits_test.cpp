#include "platform/link_limits.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/caught_error.h"

namespace brantvell {
namespace {

// Texts are counted as the system's link object counts them: in UTF-16
// units, so a Czech letter is one and a character beyond the basic plane
// two.
TEST(LinkLimitsTest, RefusesOnlyTextsLongerThanALinkKeeps) {
  const std::string path259 = "C:\\" + std::string(256, 'a');
  const std::string czech259 = "C:\\" + [] {
    std::string text;
    for (int i = 0; i < 256; ++i) text += "ř";
    return text;
  }();
  const std::string wide259 = "C:\\" + std::string(254, 'a') + "😀";
  const struct {
    std::string target;
    std::string arguments;
    std::string work;
    bool fits;
  } cases[] = {
      {path259, std::string(1023, 'x'), path259, true},
      {czech259, "", czech259, true},
      {wide259, "", "", true},
      {path259 + "a", "", "", false},
      {czech259 + "ř", "", "", false},
      {wide259 + "a", "", "", false},
      {"", std::string(1024, 'x'), "", false},
      {"", "", path259 + "\\", false},
  };
  for (const auto& c : cases) {
    if (c.fits) {
      EXPECT_NO_THROW(CheckLinkTextsFit(c.target, c.arguments, c.work)) << c.target.size();
    } else {
      Error error = CaughtError([&] { CheckLinkTextsFit(c.target, c.arguments, c.work); });
      EXPECT_EQ(kErrSystemFilenameTooLong, error.number()) << c.target.size();
      EXPECT_EQ("", error.source());
    }
  }
}

}  // namespace
}  // namespace brantvell
