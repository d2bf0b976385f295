// Reading one value of an INI file (the Windows profile-string rules).
// An interface so it can be mocked out for tests.
#ifndef BRANTVELL_PLATFORM_PROFILE_READER_H_
#define BRANTVELL_PLATFORM_PROFILE_READER_H_

#include <string>

namespace brantvell {

struct ProfileReader {
  virtual ~ProfileReader() = default;

  // The value of `key` in `section` of the INI file `path`, or "" when the
  // file, section or key is missing. Section and key names match without
  // regard to case; the first matching key wins; the value is trimmed of
  // surrounding blanks and of one pair of enclosing quotation marks and is
  // at most 1023 characters long.
  virtual std::string Read(const std::string& path, const std::string& section,
                           const std::string& key) = 0;

  static ProfileReader& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_PROFILE_READER_H_
