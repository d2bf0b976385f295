// A writer wired to fakes, with a fake counter installed in the timer.
#ifndef BRANTVELL_TESTS_SUPPORT_LOG_TEST_SUPPORT_H_
#define BRANTVELL_TESTS_SUPPORT_LOG_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "log/cls_log_share.h"
#include "log/mdl_timer.h"
#include "tests/support/fake_services.h"

namespace brantvell {

class WriterTest : public ::testing::Test {
 protected:
  static constexpr char kStamp[] = "2026/12/07 16:58:12";

  void SetUp() override {
    counter_.frequency = 1000000;
    counter_.now = 5000000;  // the writer's start counter
    TimerUseCounter(&counter_);
    fakes_.files.AddFolder("C:\\Logs");
    log_ = std::make_unique<clsLogShare>(fakes_.Services());
  }
  void TearDown() override { TimerUseCounter(nullptr); }

  // The program's own settings: one file for every kind.
  void UseOneFile() {
    log_->SetDirectory("C:\\Logs");
    log_->SetFileNamePrefix("Brantvell");
    log_->SetFileNameMode(0);
  }
  std::string& OneFile() { return fakes_.files.files["C:\\Logs\\Brantvell.TXT"]; }
  std::string File(const std::string& name) { return fakes_.files.files["C:\\Logs\\" + name]; }

  FakeCounter counter_;
  FakeLogServices fakes_;
  std::unique_ptr<clsLogShare> log_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_LOG_TEST_SUPPORT_H_
