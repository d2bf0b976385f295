// Shows the choice dialog in its Windows window, for a script that drives it
// with synthetic keys and clicks under Wine. Argument: the variant to grey
// out. Prints "RESULT=<chosen variant>" once the dialog has ended and then
// every trace record the dialog wrote, one "LOG <record>" line each.
// A dialog that nobody answers within two minutes ends the probe with exit
// status 124, so an orphaned probe never outlives its test for long.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "log/mdl_log.h"
#include "tests/support/capture_log.h"
#include "ui/frm_main.h"

int main(int argc, char** argv) {
  using namespace brantvell;
  const int32_t disabled = argc > 1 ? static_cast<int32_t>(std::atol(argv[1])) : 0;
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::minutes(2));
    std::fputs("dialog_probe: no answer within 2 minutes\n", stderr);
    std::_Exit(124);
  }).detach();
  ScopedCaptureLog log;
  int32_t result = 0;
  {
    frmMain form;
    result = form.Start(disabled);
    std::printf("RESULT=%d\n", static_cast<int>(result));
    std::fflush(stdout);
    form.Unload();
  }
  for (const std::string& record : log->Lines()) std::printf("LOG %s\n", record.c_str());
  return 0;
}
