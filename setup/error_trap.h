// The setup object's error trap, shared by the files of its procedures.
#ifndef BRANTVELL_SETUP_ERROR_TRAP_H_
#define BRANTVELL_SETUP_ERROR_TRAP_H_

#include "platform/error.h"

namespace brantvell {

// Runs `body` under the object's error trap. An error of the program's own
// code leaves with `tag` as its source, so the caller learns the innermost
// procedure it arose in; a component's error, or one an inner procedure has
// already tagged, passes unchanged.
template <typename Body>
auto Trapped(const char* tag, Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const Error& error) {
    if (error.source() == kOwnErrorSource) throw error.WithSource(tag);
    throw;
  }
}

}  // namespace brantvell

#endif  // BRANTVELL_SETUP_ERROR_TRAP_H_
