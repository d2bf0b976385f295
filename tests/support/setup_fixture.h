// A setup object over the fake components, with the application installed
// in kApp, the real string table and a capturing log writer.
#ifndef BRANTVELL_TESTS_SUPPORT_SETUP_FIXTURE_H_
#define BRANTVELL_TESTS_SUPPORT_SETUP_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "setup/cls_brantvell.h"
#include "setup/string_table.h"
#include "tests/support/capture_log.h"
#include "tests/support/fake_script_host.h"
#include "tests/support/machine_paths.h"

namespace brantvell {

constexpr char kApp[] = "C:\\Program Files\\Veldramona";

// The debug record of procedure `label` of the setup object.
inline std::string Rec(const std::string& label, const std::string& value) {
  return "Brantvell[clsBrantvell] (" + label + ")\t" + value;
}

class SetupTest : public ::testing::Test {
 protected:
  SetupTest()
      : setup_(
            host_, StringTable::Real(),
            [this](const std::string& path) { return host_.MakePath(path); },
            [this](const std::string& folder) { host_.ProbeFolder(folder); }) {
    host_.registry[kRegistryAppPath] = Value::String(kApp);
    host_.AddFolder(kApp);
  }

  FakeScriptHost host_;
  ScopedCaptureLog log_;
  clsBrantvell setup_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_SETUP_FIXTURE_H_
