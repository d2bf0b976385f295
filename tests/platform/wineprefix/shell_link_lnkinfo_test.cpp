// Shell links written for a few hundred pseudo-random sets of texts are read
// by an independent reader, lnkinfo (liblnk-utils), field by field.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "platform/text.h"
#include "platform/wineprefix/shell_link.h"
#include "tests/support/lnkinfo_fields.h"

namespace brantvell {
namespace {

namespace fs = std::filesystem;

// Texts of printable characters from several scripts: lnkinfo prints one
// field a line, so no control characters, and the lnkinfo of Debian 12
// decodes surrogate pairs wrongly (U+1F622 comes out as U+1F223), so
// nothing outside the BMP; the writer's own tests cover those.
class TextMaker {
 public:
  explicit TextMaker(uint32_t seed) : random_(seed) {}

  std::string Text(size_t max_length) {
    static const struct {
      char32_t first, last;
    } kBlocks[] = {
        {0x20, 0x7E},      // ASCII
        {0xA0, 0x17F},     // Latin-1 and Latin Extended-A: Czech and Slovak letters
        {0x391, 0x3C9},    // Greek
        {0x410, 0x44F},    // Cyrillic
        {0x2010, 0x2027},  // dashes and quotation marks
        {0x4E00, 0x9FFF},  // CJK ideographs
        {0xAC00, 0xD7A3},  // Hangul syllables, just below the surrogates
        {0xE000, 0xFFFD},  // past the surrogates
    };
    std::string text;
    const size_t length = Pick(0, max_length);
    for (size_t i = 0; i < length; ++i) {
      const auto& block = kBlocks[Pick(0, sizeof kBlocks / sizeof kBlocks[0] - 1)];
      AppendUtf8(static_cast<char32_t>(Pick(block.first, block.last)), &text);
    }
    return text;
  }

  size_t Pick(size_t low, size_t high) {
    return std::uniform_int_distribution<size_t>(low, high)(random_);
  }

 private:
  std::mt19937 random_;
};

class ShellLinkLnkinfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!LnkinfoInstalled()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
    std::random_device device;
    folder_ = fs::temp_directory_path() / ("brantvell-lnkinfo-" + std::to_string(device()));
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }

  fs::path folder_;
};

TEST_F(ShellLinkLnkinfoTest, ReadsEveryFieldOfRandomLinks) {
  TextMaker maker(20250314);
  for (int n = 0; n < 300; ++n) {
    ShellLinkData link;
    // Every fiftieth link carries texts of a few thousand characters.
    const size_t longest = n % 50 == 49 ? 4000 : 60;
    link.target_path = "C:\\" + maker.Text(longest) + "\\" + maker.Text(12) + ".exe";
    link.arguments = maker.Text(longest);
    link.working_directory = maker.Pick(0, 3) == 0 ? "" : "D:\\" + maker.Text(longest);
    link.description = maker.Text(longest);
    link.icon_path = maker.Pick(0, 3) == 0 ? "" : link.target_path;
    link.icon_index = static_cast<int32_t>(maker.Pick(0, 200)) - 100;
    SCOPED_TRACE("link " + std::to_string(n) + ", target " + link.target_path);

    const fs::path file = folder_ / (std::to_string(n) + ".lnk");
    std::ofstream(file, std::ios::binary) << WriteShellLink(link);
    std::string output;
    ASSERT_TRUE(RunLnkinfo(file, &output)) << output;
    std::map<std::string, std::string> fields = LnkinfoFields(output);

    EXPECT_EQ(fields["Local path"], link.target_path) << output;
    EXPECT_EQ(fields["Drive type"], "Fixed (3)") << output;
    EXPECT_EQ(fields["Command line arguments"], link.arguments) << output;
    EXPECT_EQ(fields["Working directory"], link.working_directory) << output;
    EXPECT_EQ(fields["Description"], link.description) << output;
    EXPECT_EQ(fields["Icon location"], link.icon_path) << output;
    EXPECT_EQ(fields["Icon index"], std::to_string(link.icon_index)) << output;
    if (HasFailure()) return;  // one broken link tells the story
  }
}

// Newer lnkinfo releases escape what they print; the reader takes it back:
// backslashes are doubled in every field but the description.
TEST(LnkinfoUnescapeTest, GivesTheTextTheLinkHolds) {
  const struct {
    const char* printed;
    bool doubled;
    std::string held;
  } kCases[] = {
      {R"(C:\\Veldramona\\Loader.exe)", true, R"(C:\Veldramona\Loader.exe)"},
      {R"(\\\\server\\share)", true, R"(\\server\share)"},
      {R"(a\U0000fddfb)", false,
       "a\xEF\xB7\x9F"
       "b"},
      {R"(\u00e1\U0001f600)", true, "\xC3\xA1\xF0\x9F\x98\x80"},
      {R"(Z\Bc)", false, R"(Z\Bc)"},
      {R"(x\\y)", false, R"(x\\y)"},
      {"plain", true, "plain"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(LnkinfoUnescape(c.printed, c.doubled), c.held) << c.printed;
}

}  // namespace
}  // namespace brantvell
