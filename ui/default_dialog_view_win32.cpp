#include <memory>
#include <string>

#include "platform/choice_window.h"
#include "ui/dialog_view.h"
#include "ui/frm_main.h"

namespace brantvell {

namespace {

// The dialog view over the Windows window: forwards the dialog's requests to
// the window and the window's events to the dialog's handlers.
class WindowDialogView : public DialogView, private ChoiceWindowEvents {
 public:
  explicit WindowDialogView(frmMain& owner) : owner_(owner), window_(ChoiceWindow::Make(*this)) {}

  void Create(const std::string& caption) override { window_->Create(caption); }
  bool Exists() const override { return window_->Exists(); }
  void Destroy() override { window_->Destroy(); }
  void SetClickAreaVisible(int index, bool visible) override {
    window_->SetClickAreaVisible(index, visible);
  }
  void SetGreyedVisible(int index, bool visible) override {
    window_->SetGreyedVisible(index, visible);
  }
  void SetOptionEnabled(int index, bool enabled) override {
    window_->SetOptionEnabled(index, enabled);
  }
  void SetOptionSelected(int index, bool selected) override {
    window_->SetOptionSelected(index, selected);
  }
  bool IsOptionSelected(int index) const override { return window_->IsOptionSelected(index); }
  void PlaceImage(bool greyed, int index, const ControlRect& rect) override {
    window_->PlaceImage(greyed, index, rect.left, rect.top, rect.width, rect.height);
  }
  void ShowModal() override { window_->ShowModal(); }
  void Hide() override { window_->Hide(); }

 private:
  void OnLoad() override { owner_.Form_Load(); }
  void OnLabelClick(int index) override { owner_.imgChoiceOn_Click(index); }
  void OnOk() override { owner_.cmdOK_Click(); }
  void OnCancel() override { owner_.cmdCancel_Click(); }
  bool OnCloseRequest() override {
    bool cancel = false;
    owner_.Form_QueryUnload(&cancel, kUnloadByUser);
    return cancel;
  }

  frmMain& owner_;
  std::unique_ptr<ChoiceWindow> window_;
};

}  // namespace

DialogViewFactory DefaultDialogViewFactory() {
  return [](frmMain& owner) -> std::unique_ptr<DialogView> {
    return std::make_unique<WindowDialogView>(owner);
  };
}

}  // namespace brantvell
