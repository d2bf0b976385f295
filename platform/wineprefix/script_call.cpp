#include "platform/wineprefix/script_call.h"

#include "platform/wineprefix/wineprefix.h"

#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

void CheckArgCount(const std::vector<Value>& args, size_t min, size_t max) {
  if (args.size() < min || args.size() > max) throw ComponentError(kErrWrongArgumentCount);
}

std::string MemberKey(const std::string& member) { return ToLower(member); }

}  // namespace brantvell
