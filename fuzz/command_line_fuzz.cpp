// Any bytes as the program's command text: the parser never raises, fills
// the record with values cut from the text, writes its trace records, and
// the run's decision read from the record agrees with the decision table
// restated here.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/run_decision.h"
#include "fuzz/fuzz_check.h"
#include "log/mdl_log.h"
#include "tests/support/capture_log.h"

namespace brantvell {
namespace {

std::shared_ptr<CaptureLog> g_log;

// Letter case folded for ASCII letters only: the switch names and the words
// the decision knows are ASCII, and no other letter folds onto them.
std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// True when `part` is `text` with some characters left out, order kept.
bool IsSubsequence(const std::string& part, const std::string& text) {
  size_t at = 0;
  for (char c : part) {
    at = text.find(c, at);
    if (at == std::string::npos) return false;
    ++at;
  }
  return true;
}

bool AllSpaces(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

void CheckEntry(const std::string& input, const std::string& name, const ParamInfo& entry) {
  FUZZ_CHECK(entry.Present <= 2, "Present is 0, 1 or 2");
  FUZZ_CHECK(Contains(input, entry.Value), "a value is cut from the command text");
  FUZZ_CHECK(!Contains(entry.Value, "/"), "a value ends before the next slash");
  if (entry.Present != 0)
    FUZZ_CHECK(Contains(AsciiLower(input), name), "a switch counts only when its name is there");
}

// The decision table of the run, written out again from the rules.
void CheckDecision(const ParamInfoDat& dat) {
  RunDecision decision = DecideAction(dat);

  bool quiet = dat.Mode.Present == 1 && AsciiLower(dat.Mode.Value) == "q";
  FUZZ_CHECK(decision.quiet == quiet, "quiet exactly for one /mode=q");

  int expected_action = -1;
  if (dat.Action.Present == 1) {
    const std::string word = AsciiLower(dat.Action.Value);
    if (word == "clear") expected_action = 0;
    if (word == "cz") expected_action = 1;
    if (word == "sk") expected_action = 2;
    if (word == "czsk") expected_action = 3;
  }
  FUZZ_CHECK(decision.action == expected_action, "action code from one /action word");
  FUZZ_CHECK(decision.variant == (expected_action > 0 ? expected_action : 0),
             "variant is the action's for cz, sk and czsk, else 0");
  FUZZ_CHECK(decision.has_target == (dat.Target.Present == 1), "target only when given once");
  FUZZ_CHECK(decision.target == (dat.Target.Present == 1 ? dat.Target.Value : std::string()),
             "target is the /target value");
}

void CheckRecords(const std::string& input, const ParamInfoDat& dat) {
  const auto& records = g_log->received;
  FUZZ_CHECK(!records.empty(), "the parser leaves trace records");
  const ReceivedRecord& last = records.back();
  FUZZ_CHECK(last.kind == kCapturedDebug && last.text == "Brantvell[mdlMain] (GetParamInfoDat)\t" &&
                 last.params.items().size() == 1 && last.params.items()[0].text() == "RETURN=True",
             "the parser ends with its RETURN=True record");

  int starts = 0, returns = 0, parse_errors = 0;
  std::string switches;
  for (const ReceivedRecord& r : records) {
    if (r.text == "Brantvell[mdlMain] (ArgParse)\tSTART: ") ++starts;
    if (r.text.rfind("Brantvell[mdlMain] (ArgParse)\tRETURN=", 0) == 0) ++returns;
    if (r.kind == kErrLog && r.text.rfind("Brantvell[mdlMain] (ArgParse)\t", 0) == 0)
      ++parse_errors;
    if (r.text.rfind("Brantvell[mdlMain] (GetParamInfo)\t", 0) == 0) switches += r.text + "\n";
  }
  FUZZ_CHECK(starts == returns, "every ArgParse start has its return record");

  if (AllSpaces(input)) {
    FUZZ_CHECK(starts == 0 && switches.empty(), "an empty command line is not searched");
    return;
  }
  std::string expected;
  for (const auto& [name, entry] :
       {std::make_pair("/action", &dat.Action), std::make_pair("/mode", &dat.Mode),
        std::make_pair("/target", &dat.Target)}) {
    expected += std::string("Brantvell[mdlMain] (GetParamInfo)\tRETURN=True\t") + name + "\t" +
                std::to_string(entry->Present) + "\t" + entry->Value + "\n";
  }
  FUZZ_CHECK(switches == expected, "one record per switch with its outcome");
  // "/action" is searched first, in the untouched text: only a value that
  // cannot be cut out (a lone quote) makes a present name count as absent.
  if (Contains(AsciiLower(input), "/action") && dat.Action.Present == 0)
    FUZZ_CHECK(parse_errors > 0, "a switch that was there but not taken left an error record");
}

}  // namespace
}  // namespace brantvell

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace brantvell;
  g_log = std::make_shared<CaptureLog>();
  LogInit(g_log, "Brantvell");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantvell;
  const std::string input(reinterpret_cast<const char*>(data), size);
  g_log->received.clear();

  ParamInfoDat dat;
  bool result = false;
  try {
    result = GetParamInfoDat(input, &dat);
  } catch (...) {
    FUZZ_CHECK(false, "GetParamInfoDat never raises");
  }
  FUZZ_CHECK(result, "GetParamInfoDat answers true");
  FUZZ_CHECK(dat.CommandLine == input, "the record keeps the command text as received");

  // The switches are cut from the text with switches quoted whole
  // unquoted; a text without quotes is read exactly as it is.
  const std::string read = UnquoteWholeSwitches(input);
  if (input.find('"') == std::string::npos)
    FUZZ_CHECK(read == input, "a text without quotes is read as it is");
  FUZZ_CHECK(read.size() <= input.size(), "unquoting adds nothing");

  CheckEntry(read, "/action", dat.Action);
  CheckEntry(read, "/mode", dat.Mode);
  CheckEntry(read, "/target", dat.Target);

  FUZZ_CHECK(dat.HasRest <= 1, "HasRest is 0 or 1");
  FUZZ_CHECK((dat.HasRest == 1) == !dat.Rest.empty(), "HasRest tells whether text is left");
  FUZZ_CHECK(IsSubsequence(dat.Rest, read), "the rest is the command text with parts cut out");
  FUZZ_CHECK(dat.Rest.empty() || (dat.Rest.front() != ' ' && dat.Rest.back() != ' '),
             "the rest is trimmed");
  if (AllSpaces(input)) {
    FUZZ_CHECK(dat.Action.Present == 0 && dat.Mode.Present == 0 && dat.Target.Present == 0 &&
                   dat.HasRest == 0,
               "an empty command line gives an empty record");
  }

  CheckDecision(dat);
  CheckRecords(read, dat);
  return 0;
}
