// Runs one step of a procedure that goes on after a failing step. Given the
// procedure's tag, the failure is written as that procedure's error record
// first; without one it leaves no trace, as where the log is not set up yet
// or a control of the dialog refuses a setting.
#ifndef BRANTVELL_LOG_IGNORING_ERROR_H_
#define BRANTVELL_LOG_IGNORING_ERROR_H_

#include "log/mdl_log.h"

namespace brantvell {

template <typename Step>
void IgnoringError(const char* tag, Step&& step) {
  try {
    step();
  } catch (...) {
    if (tag != nullptr) LogError(tag, "", "");
  }
}

template <typename Step>
void IgnoringError(Step&& step) {
  IgnoringError(nullptr, step);
}

}  // namespace brantvell

#endif  // BRANTVELL_LOG_IGNORING_ERROR_H_
