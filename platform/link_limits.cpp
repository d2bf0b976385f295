#include "platform/link_limits.h"

namespace brantvell {

namespace {

// UTF-16 units of a UTF-8 text: one per character, two for a character
// beyond the basic plane (four-byte sequences).
size_t Utf16Units(const std::string& text) {
  size_t units = 0;
  for (unsigned char byte : text) {
    if ((byte & 0xC0) != 0x80) ++units;
    if (byte >= 0xF0) ++units;
  }
  return units;
}

}  // namespace

void CheckLinkTextsFit(const std::string& target, const std::string& arguments,
                       const std::string& working_directory) {
  if (Utf16Units(target) > kMaxLinkPathUnits || Utf16Units(working_directory) > kMaxLinkPathUnits ||
      Utf16Units(arguments) > kMaxLinkArgumentsUnits) {
    throw ComponentError(kErrSystemFilenameTooLong);
  }
}

}  // namespace brantvell
