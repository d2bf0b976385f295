// How fast the log writer turns records into file lines with the real
// platform services: every record opens, appends to and closes its file.
// Two baselines write the very same line without the writer: the program's
// own file service, and a plain open-append-close loop of the C library.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "log/cls_log_share.h"
#include "platform/file_system.h"
#include "platform/value.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

// The program's own settings: one file for every kind, the debug kind on.
int32_t ConfigureLikeTheProgram(clsLogShare* log, const TempFolder& folder) {
  log->SetDirectory(folder.path());
  log->SetFileNamePrefix("Brantvell");
  log->SetFileNameMode(0);
  log->SetEnable(-1, "", 0);
  log->SetEnable(0, "", 1);
  log->SetEnable(3, "", 1);
  return log->GetComponentId("Brantvell");
}

Value FiveValues() {
  return Value::Array({Value::Integer(5), Value::String("C:\\Program Files\\Veldramona"),
                       Value::Long(123456), Value::Double(3.25), Value::Boolean(true)});
}

void BM_SetEventToFile(benchmark::State& state) {
  TempFolder folder;
  clsLogShare log;
  int32_t id = ConfigureLikeTheProgram(&log, folder);
  int64_t failed = 0;
  for (auto _ : state) {
    if (!log.SetEvent("Brantvell[clsBrantvell] (SetupMake)\tEND", kInfoLog, id)) ++failed;
  }
  if (failed != 0 || folder.SizeOf("Brantvell.TXT") == 0)
    state.SkipWithError("records were not written");
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(folder.SizeOf("Brantvell.TXT")));
}
BENCHMARK(BM_SetEventToFile);

// The line BM_SetEventToFile appends, exactly as the writer makes it; empty
// when it could not be written.
std::string WriterLine() {
  TempFolder folder;
  clsLogShare log;
  int32_t id = ConfigureLikeTheProgram(&log, folder);
  if (!log.SetEvent("Brantvell[clsBrantvell] (SetupMake)\tEND", kInfoLog, id)) return "";
  std::ifstream in(TempFolder::HostOf(folder / "Brantvell.TXT").string(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The same line through the file service the writer calls: the writer's
// own work is the difference to BM_SetEventToFile.
void BM_FileServiceAppendBaseline(benchmark::State& state) {
  TempFolder folder;
  const std::string line = WriterLine();
  const std::string path = TempFolder::HostOf(folder / "Brantvell.TXT").string();
  FileSystem& files = FileSystem::Real();
  int64_t failed = 0;
  for (auto _ : state) {
    if (!files.AppendText(path, line)) ++failed;
  }
  if (line.empty() || failed != 0 || folder.SizeOf("Brantvell.TXT") == 0) {
    state.SkipWithError("records were not written");
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(folder.SizeOf("Brantvell.TXT")));
}
BENCHMARK(BM_FileServiceAppendBaseline);

// The same line by a plain loop: open for appending, write, close.
void BM_PlainOpenAppendCloseBaseline(benchmark::State& state) {
  TempFolder folder;
  const std::string line = WriterLine();
  const std::string path = TempFolder::HostOf(folder / "Brantvell.TXT").string();
  int64_t failed = 0;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) {
      ++failed;
      continue;
    }
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) ++failed;
    if (std::fclose(file) != 0) ++failed;
  }
  if (line.empty() || failed != 0 || folder.SizeOf("Brantvell.TXT") == 0) {
    state.SkipWithError("records were not written");
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(static_cast<int64_t>(folder.SizeOf("Brantvell.TXT")));
}
BENCHMARK(BM_PlainOpenAppendCloseBaseline);

void BM_SetDebugFiveValuesToFile(benchmark::State& state) {
  TempFolder folder;
  clsLogShare log;
  int32_t id = ConfigureLikeTheProgram(&log, folder);
  Value values = FiveValues();
  int64_t failed = 0;
  for (auto _ : state) {
    if (!log.SetDebug("Brantvell[mdlMain] (Main)\t", values, id)) ++failed;
  }
  if (failed != 0 || folder.SizeOf("Brantvell.TXT") == 0)
    state.SkipWithError("records were not written");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetDebugFiveValuesToFile);

// The formatting alone: the debug kind is off, so no file is touched.
void BM_SetDebugFiveValuesFormatOnly(benchmark::State& state) {
  TempFolder folder;
  clsLogShare log;
  int32_t id = ConfigureLikeTheProgram(&log, folder);
  log.SetEnable(3, "", 0);
  Value values = FiveValues();
  for (auto _ : state) {
    benchmark::DoNotOptimize(log.SetDebug("Brantvell[mdlMain] (Main)\t", values, id));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SetDebugFiveValuesFormatOnly);

}  // namespace
}  // namespace brantvell
