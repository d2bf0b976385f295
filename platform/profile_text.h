// The value of one key in the text of an INI file, by the rules of the
// Windows profile-string reader: section and key names match without regard
// to case, the first section of a name and the first key of a name in it
// win, the value loses its surrounding blanks and one pair of enclosing
// quotes and is at most 1023 characters long. Lines starting with ';' are
// comments; keys above the first section header belong to the section "".
// Missing section or key gives "".
#ifndef BRANTVELL_PLATFORM_PROFILE_TEXT_H_
#define BRANTVELL_PLATFORM_PROFILE_TEXT_H_

#include <string>

namespace brantvell {

std::string ProfileValue(const std::string& ini_text, const std::string& section,
                         const std::string& key);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_PROFILE_TEXT_H_
