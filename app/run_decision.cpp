#include "app/run_decision.h"

#include "platform/text.h"

namespace brantvell {

namespace {

// The action word of "/action" as an action code; false for any other word.
bool LookUpAction(const std::string& word, int16_t* action) {
  static const struct {
    const char* word;
    int16_t action;
  } kWords[] = {{"clear", kActionClear}, {"cz", 1}, {"sk", 2}, {"czsk", 3}};
  const std::string lower = ToLower(word);
  for (const auto& entry : kWords) {
    if (lower == entry.word) {
      *action = entry.action;
      return true;
    }
  }
  return false;
}

}  // namespace

RunDecision DecideAction(const ParamInfoDat& params) {
  RunDecision decision;
  if (params.Mode.Present == 1) decision.quiet = ToLower(params.Mode.Value) == "q";
  int16_t action = kActionAsk;
  if (params.Action.Present == 1 && LookUpAction(params.Action.Value, &action)) {
    decision.action = action;
    decision.variant = action;
  }
  if (params.Target.Present == 1) {
    decision.has_target = true;
    decision.target = params.Target.Value;
  }
  return decision;
}

std::string WhyAsked(const ParamInfoDat& params) {
  if (params.Action.Present == 2) return "/action was given more than once";
  if (params.Action.Present == 0 || params.Action.Value.empty()) return "no action word was given";
  return "the action word \"" + params.Action.Value +
         "\" was not understood (clear, cz, sk or czsk)";
}

}  // namespace brantvell
