// How fast the command-line parser takes a command text apart, alone and
// with its trace records going to a real log file as in a run.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/command_line.h"
#include "log/cls_log.h"
#include "log/cls_log_share.h"
#include "log/mdl_log.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

// What an installer passes, and a longer text with a quoted folder, a
// repeated switch and words the parser leaves over.
const char kInstallerCommand[] = "/action=czsk /mode=q";
const char kLongCommand[] =
    "/MODE=q /target=\"D:\\Programy bankovní\\Veldramona\" /action=cz /action=sk "
    "/log /unknown=1 Příliš žluťoučký kůň";

void ParseWithoutLog(benchmark::State& state, const char* command) {
  LogInit(nullptr, "");
  for (auto _ : state) {
    ParamInfoDat dat;
    benchmark::DoNotOptimize(GetParamInfoDat(command, &dat));
    benchmark::DoNotOptimize(dat.Action.Value.data());
  }
  state.SetItemsProcessed(state.iterations());
}

// The writer the program installs, writing every trace record of the
// parser to a file.
void ParseWithLogFile(benchmark::State& state, const char* command) {
  TempFolder folder;
  auto log = std::make_shared<clsLogShare>();
  log->SetDirectory(folder.path());
  log->SetFileNamePrefix("Brantvell");
  log->SetFileNameMode(0);
  log->SetEnable(kDebugLog, "", kStateFile);
  LogInit(log, "Brantvell");
  for (auto _ : state) {
    ParamInfoDat dat;
    benchmark::DoNotOptimize(GetParamInfoDat(command, &dat));
  }
  LogInit(nullptr, "");
  if (folder.SizeOf("Brantvell.TXT") == 0) state.SkipWithError("no trace records were written");
  state.SetItemsProcessed(state.iterations());
}

void BM_ParseInstallerCommand(benchmark::State& state) {
  ParseWithoutLog(state, kInstallerCommand);
}
BENCHMARK(BM_ParseInstallerCommand);

void BM_ParseLongCommand(benchmark::State& state) { ParseWithoutLog(state, kLongCommand); }
BENCHMARK(BM_ParseLongCommand);

void BM_ParseInstallerCommandLogged(benchmark::State& state) {
  ParseWithLogFile(state, kInstallerCommand);
}
BENCHMARK(BM_ParseInstallerCommandLogged);

}  // namespace
}  // namespace brantvell
