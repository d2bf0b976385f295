// A choice dialog window that plays the user's part: when shown, it clicks a
// row (optionally) and then presses OK, presses Storno or closes the window.
#ifndef BRANTVELL_TESTS_APP_SCRIPTED_DIALOG_VIEW_H_
#define BRANTVELL_TESTS_APP_SCRIPTED_DIALOG_VIEW_H_

#include <memory>
#include <string>

#include "platform/dialog_window.h"

namespace brantvell {

struct DialogAnswer {
  enum Kind { kOk, kCancel, kClose };
  Kind kind = kOk;
  int click_row = 0;  // control index clicked before the answer; 0 for none
};

// What the windows made by one factory went through.
struct DialogSeen {
  int windows = 0;     // windows created
  int shown = 0;       // modal shows
  int greyed_row = 0;  // row shown unavailable when the window was shown
  bool destroyed = false;
};

class ScriptedDialogView : public DialogWindow {
 public:
  ScriptedDialogView(DialogWindowEvents& owner, DialogAnswer answer, DialogSeen* seen)
      : owner_(owner), answer_(answer), seen_(seen) {}

  void Create(const std::string&) override {
    exists_ = true;
    ++seen_->windows;
    owner_.OnLoad();
  }
  bool Exists() const override { return exists_; }
  void Destroy() override {
    exists_ = false;
    seen_->destroyed = true;
  }
  void SetClickAreaVisible(int index, bool visible) override { click_area_[index] = visible; }
  void SetGreyedVisible(int index, bool visible) override { greyed_[index] = visible; }
  void SetOptionEnabled(int, bool) override {}
  void SetOptionSelected(int index, bool selected) override {
    if (selected) {
      for (bool& s : selected_) s = false;
    }
    selected_[index] = selected;
  }
  bool IsOptionSelected(int index) const override { return selected_[index]; }
  void PlaceImage(bool, int, const ControlRect&) override {}

  void ShowModal() override {
    ++seen_->shown;
    for (int row = 1; row <= 3; ++row) {
      if (greyed_[row]) seen_->greyed_row = row;
    }
    if (answer_.click_row != 0 && click_area_[answer_.click_row]) {
      owner_.OnLabelClick(answer_.click_row);
    }
    switch (answer_.kind) {
      case DialogAnswer::kOk:
        owner_.OnOk();
        break;
      case DialogAnswer::kCancel:
        owner_.OnCancel();
        break;
      case DialogAnswer::kClose: {
        if (!owner_.OnCloseRequest()) Destroy();
        break;
      }
    }
  }
  void Hide() override {}

 private:
  DialogWindowEvents& owner_;
  DialogAnswer answer_;
  DialogSeen* seen_;
  bool exists_ = false;
  bool click_area_[4] = {false, true, true, true};
  bool greyed_[4] = {};
  bool selected_[4] = {};
};

inline DialogWindowFactory ScriptedDialogs(DialogAnswer answer, DialogSeen* seen) {
  return [answer, seen](DialogWindowEvents& owner) -> std::unique_ptr<DialogWindow> {
    return std::make_unique<ScriptedDialogView>(owner, answer, seen);
  };
}

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_APP_SCRIPTED_DIALOG_VIEW_H_
