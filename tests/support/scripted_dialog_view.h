// A choice dialog window for the tests: it behaves like the window
// system's and plays a script of the user's actions while shown.
#ifndef BRANTVELL_TESTS_SUPPORT_SCRIPTED_DIALOG_VIEW_H_
#define BRANTVELL_TESTS_SUPPORT_SCRIPTED_DIALOG_VIEW_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialog_window.h"
#include "platform/error.h"

namespace brantvell {

// One thing the user does while the dialog is shown.
struct UserAction {
  enum Kind { kClickLabel, kOk, kCancel, kClose };
  Kind kind;
  int index = 0;
};

inline UserAction ClickLabel(int index) { return {UserAction::kClickLabel, index}; }
inline UserAction PressOk() { return {UserAction::kOk}; }
inline UserAction PressCancel() { return {UserAction::kCancel}; }
inline UserAction CloseWindow() { return {UserAction::kClose}; }

// A window that behaves like the window system's (a hidden click area gets
// no clicks, option buttons form one group, a user's close asks the form
// first) and plays a script of user actions while shown.
class ScriptedView : public DialogWindow {
 public:
  struct Row {
    bool click_area_visible = true;
    bool greyed_visible = false;
    bool enabled = true;
    bool selected = false;
  };
  struct Placement {
    bool greyed;
    int index;
    ControlRect rect;
  };
  // What the test sees after the view is gone.
  struct Observed {
    int creations = 0;
    int destructions = 0;
    std::string caption;
    Row rows[4];
    std::vector<Placement> placements;
    bool exists = false;
    bool fail_selecting = false;  // option buttons refuse to be selected
    int shows = 0;                // modal shows
    int greyed_row = 0;           // the row shown unavailable at the last show
  };

  ScriptedView(DialogWindowEvents& owner, std::vector<UserAction> script, Observed* observed)
      : owner_(owner), script_(std::move(script)), seen_(*observed) {}

  // Failures to inject.
  bool fail_show = false;
  int fail_placement_number = 0;  // 1-based; 0 never

  void Create(const std::string& caption) override {
    ++seen_.creations;
    seen_.caption = caption;
    for (Row& row : seen_.rows) row = Row();
    seen_.exists = true;
    owner_.OnLoad();
  }
  bool Exists() const override { return seen_.exists; }
  void Destroy() override {
    ++seen_.destructions;
    seen_.exists = false;
    visible_ = false;
  }
  void SetClickAreaVisible(int index, bool visible) override {
    seen_.rows[index].click_area_visible = visible;
  }
  void SetGreyedVisible(int index, bool visible) override {
    seen_.rows[index].greyed_visible = visible;
  }
  void SetOptionEnabled(int index, bool enabled) override { seen_.rows[index].enabled = enabled; }
  void SetOptionSelected(int index, bool selected) override {
    if (seen_.fail_selecting) throw Error(5, "ScriptedView", "cannot select");
    if (selected) {
      for (Row& row : seen_.rows) row.selected = false;
    }
    seen_.rows[index].selected = selected;
  }
  bool IsOptionSelected(int index) const override { return seen_.rows[index].selected; }
  void PlaceImage(bool greyed, int index, const ControlRect& rect) override {
    if (static_cast<int>(seen_.placements.size()) + 1 == fail_placement_number) {
      throw Error(5, "ScriptedView", "cannot place");
    }
    seen_.placements.push_back({greyed, index, rect});
  }
  void ShowModal() override {
    if (fail_show) throw Error(7, "ScriptedView", "out of memory");
    ++seen_.shows;
    for (int row = 1; row <= 3; ++row) {
      if (seen_.rows[row].greyed_visible) seen_.greyed_row = row;
    }
    visible_ = true;
    while (seen_.exists && visible_ && next_ < script_.size()) Play(script_[next_++]);
  }
  void Hide() override { visible_ = false; }

 private:
  void Play(const UserAction& action) {
    switch (action.kind) {
      case UserAction::kClickLabel:
        if (seen_.rows[action.index].click_area_visible) owner_.OnLabelClick(action.index);
        break;
      case UserAction::kOk:
        owner_.OnOk();
        break;
      case UserAction::kCancel:
        owner_.OnCancel();
        break;
      case UserAction::kClose: {
        if (!owner_.OnCloseRequest()) Destroy();
        break;
      }
    }
  }

  DialogWindowEvents& owner_;
  std::vector<UserAction> script_;
  size_t next_ = 0;
  bool visible_ = false;
  Observed& seen_;
};

// Windows that each play `script`; what they went through is kept in
// `observed`.
inline DialogWindowFactory ScriptedDialogs(std::vector<UserAction> script,
                                           ScriptedView::Observed* observed) {
  return [script, observed](DialogWindowEvents& owner) -> std::unique_ptr<DialogWindow> {
    return std::make_unique<ScriptedView>(owner, script, observed);
  };
}

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_SCRIPTED_DIALOG_VIEW_H_
