// What one run does, read from the parsed command line: the action code, the
// variant to install, the quiet flag and the application folder. Kept apart
// from the run itself so it can be checked without a setup object.
#ifndef BRANTVELL_APP_RUN_DECISION_H_
#define BRANTVELL_APP_RUN_DECISION_H_

#include <cstdint>
#include <string>

#include "app/command_line.h"

namespace brantvell {

// Action codes; 1 to 3 are the variant numbers themselves.
constexpr int16_t kActionAsk = -1;
constexpr int16_t kActionClear = 0;

struct RunDecision {
  // -1 ask the user, 0 clear, 1 CZ, 2 SK, 3 CZ and SK.
  int16_t action = kActionAsk;
  // The variant to install: the action's own for 1 to 3, else 0.
  int32_t variant = 0;
  // No error message at the end of a failed run.
  bool quiet = false;
  // True when the application folder is taken from the command line.
  bool has_target = false;
  std::string target;
};

// A switch counts only when it was given exactly once: "/action" with one
// of the words clear, cz, sk, czsk (any letter case), "/mode" with the value
// q (any letter case), "/target" with any value, the empty one included.
RunDecision DecideAction(const ParamInfoDat& params);

// Why the run had to ask for a variant: the action word it did not
// understand, or that none (or more than one) was given. One sentence.
std::string WhyAsked(const ParamInfoDat& params);

}  // namespace brantvell

#endif  // BRANTVELL_APP_RUN_DECISION_H_
