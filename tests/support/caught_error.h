// The Error a call raises, for tests that check what a failing call reports.
#ifndef BRANTVELL_TESTS_SUPPORT_CAUGHT_ERROR_H_
#define BRANTVELL_TESTS_SUPPORT_CAUGHT_ERROR_H_

#include <gtest/gtest.h>

#include <functional>

#include "platform/error.h"

namespace brantvell {

// Runs `call` and gives the Error it raises; fails the test when it raises
// none (and then gives an Error with number 0 and empty texts).
inline Error CaughtError(const std::function<void()>& call) {
  try {
    call();
  } catch (const Error& error) {
    return error;
  }
  ADD_FAILURE() << "no error raised";
  return Error(0, "", "");
}

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_CAUGHT_ERROR_H_
