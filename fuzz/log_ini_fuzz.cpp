// Any bytes as log.ini: every log kind of the unnamed component and of a
// named one gets an output state from -1 to 3 (-1 only as a named
// component's own default), and nothing raises.
//
// Input: one byte of settings (bits 0-2: which of the marker files lie
// beside log.ini; bits 3-7: the default state a named component brings,
// -1 to 3), the component name up to the first line feed, then the INI text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "log/cls_log_cfg.h"
#include "log/cls_log_share.h"
#include "log/log_kinds.h"
#include "platform/profile_reader.h"
#include "platform/profile_text.h"
#include "platform/text.h"
#include "tests/support/fake_services.h"

namespace brantvell {
namespace {

const char kFolder[] = "C:\\Program Files\\Brantvell\\";
const char* const kMarkers[] = {"debugon", "performanceon", "performanceSQLon"};

// Answers every INI question of the file `path` from `text` by the profile
// rules; any other file is missing.
struct TextProfileReader : ProfileReader {
  std::string path;
  std::string text;
  std::string Read(const std::string& file, const std::string& section,
                   const std::string& key) override {
    return file == path ? ProfileValue(text, section, key) : std::string();
  }
};

// The kinds asked for: all nine, the "every kind" value -1, the first number
// past the kinds and one number from the input.
std::vector<int32_t> KindsToAsk(int32_t extra) {
  std::vector<int32_t> kinds;
  for (int32_t kind = -1; kind <= kKindCount; ++kind) kinds.push_back(kind);
  kinds.push_back(extra);
  return kinds;
}

void CheckState(int32_t state, int32_t default_state, const std::string& component) {
  FUZZ_CHECK(state >= -1 && state <= 3, "a state is -1 to 3");
  if (state == -1)
    FUZZ_CHECK(!component.empty() && default_state == -1,
               "only a named component keeps -1, its own default");
}

}  // namespace
}  // namespace brantvell

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brantvell;
  if (size == 0) return 0;
  const uint8_t settings = data[0];
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t line_end = rest.find('\n');
  const std::string name = rest.substr(0, line_end);
  const std::string ini_text = line_end == std::string::npos ? "" : rest.substr(line_end + 1);
  const int32_t default_state = (settings >> 3) % 5 - 1;
  const int32_t extra_kind = static_cast<int32_t>(CharCount(name)) * 7919 - 40000;

  FakeLogServices fake;
  TextProfileReader profile;
  profile.path = std::string(kFolder) + "log.ini";
  profile.text = ini_text;
  for (int i = 0; i < 3; ++i)
    if (settings & (1 << i)) fake.files.AddFile(std::string(kFolder) + kMarkers[i]);

  // The reader on its own, for both components and every kind.
  clsLogCfg config(&profile, &fake.files);
  config.SetINIFile(profile.path);
  for (const std::string& component : {std::string(), name}) {
    for (int32_t kind : KindsToAsk(extra_kind)) {
      int32_t state = -2;
      try {
        state = config.GetSetting(kind, default_state, component);
      } catch (...) {
        FUZZ_CHECK(false, "GetSetting never raises");
      }
      CheckState(state, default_state, component);
    }
  }

  // The values the reader works from: never longer than the system's buffer.
  for (const char* key : {"DebugLog", "default", "InfoLog"}) {
    const std::string value = ProfileValue(ini_text, name.empty() ? "Default" : name, key);
    FUZZ_CHECK(CharCount(value) <= 1023, "an INI value is at most 1023 characters");
  }

  // The writer loads the same settings into its component table.
  try {
    clsLogShare log(LogServices{&fake.files, &fake.clock, &fake.message_box, &profile});
    log.Init(profile.path);
    const int32_t id = log.GetComponentId(name);
    FUZZ_CHECK(id >= 0, "a component can always be registered");
    for (const ComponentEntry& entry : log.Components())
      for (int32_t state : entry.States)
        FUZZ_CHECK(state >= 0 && state <= 3, "a loaded state is 0 to 3");
    for (int32_t kind = 0; kind < kKindCount; ++kind) {
      const int32_t state = log.Enable(kind, name);
      FUZZ_CHECK(state >= 0 && state <= 3, "Enable answers 0 to 3");
    }
  } catch (...) {
    FUZZ_CHECK(false, "loading the settings never raises");
  }
  return 0;
}
