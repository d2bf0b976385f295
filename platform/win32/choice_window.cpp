#include <algorithm>
#include <cstddef>
#include <exception>
#include <memory>
#include <utility>

#include "platform/choice_rows.h"
#include "platform/dialog_window.h"
#include "platform/error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"
#include "resources/resource_ids.h"

namespace brantvell {

namespace {

// The artwork is drawn for exactly this client area.
constexpr int kClientWidth = 500;
constexpr int kClientHeight = 422;

constexpr wchar_t kWindowClass[] = L"BrantvellChoiceWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

// The option buttons: a narrow column left of the labels.
constexpr int kOptionLeft = 120;
constexpr int kOptionWidth = 17;
constexpr int kOptionHeight = 41;

int OptionTop(int index) {
  switch (index) {
    case 2:
      return 176;
    case 3:
      return 232;
    default:
      return 288;
  }
}

int OptionId(int index) {
  switch (index) {
    case 2:
      return IDC_OPT_2;
    case 3:
      return IDC_OPT_3;
    default:
      return IDC_OPT_1;
  }
}

int GreyedPictureId(int index) {
  switch (index) {
    case 2:
      return IDB_CHOICE_OFF_2;
    case 3:
      return IDB_CHOICE_OFF_3;
    default:
      return IDB_CHOICE_OFF_1;
  }
}

Error WindowSystemError(const char* what) {
  const DWORD code = GetLastError();
  return Error(static_cast<int32_t>(HRESULT_FROM_WIN32(code)), kOwnErrorSource, what);
}

// Copies `bitmap` to `target` at (left, top), cut to width x height, through
// the memory device context `source`.
void DrawPicture(HDC target, HDC source, HBITMAP bitmap, int left, int top, int width, int height) {
  if (!source || !bitmap || width <= 0 || height <= 0) return;
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof(info), &info)) return;
  SelectObject(source, bitmap);
  BitBlt(target, left, top, std::min<int>(width, info.bmWidth),
         std::min<int>(height, info.bmHeight), source, 0, 0, SRCCOPY);
}

HBITMAP LoadPicture(HINSTANCE module, int id) {
  return static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

HICON LoadProgramIcon(HINSTANCE module, int width_metric, int height_metric) {
  return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_BRANTVELL), IMAGE_ICON,
                                       GetSystemMetrics(width_metric),
                                       GetSystemMetrics(height_metric), LR_DEFAULTCOLOR));
}

// The font the system uses in message boxes, for the two push buttons.
HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    // Systems older than the headers want the structure without its last field.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
      return nullptr;
    }
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

class Win32ChoiceWindow : public DialogWindow {
 public:
  explicit Win32ChoiceWindow(DialogWindowEvents& events)
      : events_(events), module_(GetModuleHandleW(nullptr)) {}

  ~Win32ChoiceWindow() override { Destroy(); }

  void Create(const std::string& caption) override {
    if (window_) return;
    RegisterWindowClass();
    rows_.Reset();
    LoadArtwork();

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // Centred in the work area; the window has no owner to centre on.
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
    const int top = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);

    // The window procedure stores the handle on WM_NCCREATE.
    if (!CreateWindowExW(kWindowExStyle, kWindowClass, Widen(caption).c_str(), kWindowStyle, left,
                         top, width, height, nullptr, nullptr, module_, this)) {
      window_ = nullptr;
      throw WindowSystemError("The dialog window could not be created");
    }
    if (big_icon_) {
      SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
    }
    if (small_icon_) {
      SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
    }
    CreateControls();
    events_.OnLoad();
  }

  bool Exists() const override { return window_ != nullptr; }

  void Destroy() override {
    if (window_) DestroyWindow(window_);
  }

  void SetClickAreaVisible(int index, bool visible) override {
    rows_.At(index).click_area_visible = visible;
  }

  void SetGreyedVisible(int index, bool visible) override {
    Row& row = rows_.At(index);
    if (row.greyed_visible == visible) return;
    row.greyed_visible = visible;
    Repaint(row.greyed_rect);
  }

  void SetOptionEnabled(int index, bool enabled) override {
    Row& row = rows_.At(index);
    row.enabled = enabled;
    if (row.option) EnableWindow(row.option, enabled);
  }

  void SetOptionSelected(int index, bool selected) override {
    rows_.Select(index, selected, [](Row& row) {
      if (row.option) {
        SendMessageW(row.option, BM_SETCHECK, row.selected ? BST_CHECKED : BST_UNCHECKED, 0);
      }
    });
  }

  bool IsOptionSelected(int index) const override {
    const Row& row = rows_.At(index);
    // The user changes the buttons directly; the control knows best.
    if (row.option) return SendMessageW(row.option, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return row.selected;
  }

  void PlaceImage(bool greyed, int index, const ControlRect& place) override {
    Row& row = rows_.At(index);
    RECT& rect = greyed ? row.greyed_rect : row.click_rect;
    if (greyed && row.greyed_visible) Repaint(rect);
    rect = RECT{place.left, place.top, place.left + place.width, place.top + place.height};
    if (greyed && row.greyed_visible) Repaint(rect);
  }

  void ShowModal() override {
    if (!window_) return;
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    FocusFirstControl();
    MarkDefaultButton();
    UpdateWindow(window_);

    MSG message;
    while (window_ && IsWindowVisible(window_)) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == -1) throw WindowSystemError("The dialog's messages could not be read");
      if (got == 0) {
        // The program is quitting: leave the quit message to the outer loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      // The dialog manager's keys: Tab, arrows, Enter for OK, Esc for Storno.
      if (!window_ || !IsDialogMessageW(window_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      MarkDefaultButton();
      if (pending_error_) std::rethrow_exception(std::exchange(pending_error_, nullptr));
    }
  }

  void Hide() override {
    if (window_) ShowWindow(window_, SW_HIDE);
  }

 private:
  struct Row : ChoiceRowState {
    RECT click_rect{0, 0, 0, 0};
    RECT greyed_rect{0, 0, 0, 0};
    HWND option = nullptr;
  };

  void RegisterWindowClass() {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &Win32ChoiceWindow::WindowProc;
    window_class.hInstance = module_;
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      throw WindowSystemError("The dialog's window class could not be registered");
    }
  }

  // A program built without its resources still shows a working dialog,
  // only without pictures.
  void LoadArtwork() {
    if (!background_) background_.reset(LoadPicture(module_, IDB_BACKGROUND));
    for (int index = 1; index <= 3; ++index) {
      if (!greyed_pictures_[index]) {
        greyed_pictures_[index].reset(LoadPicture(module_, GreyedPictureId(index)));
      }
    }
    if (!big_icon_) big_icon_.reset(LoadProgramIcon(module_, SM_CXICON, SM_CYICON));
    if (!small_icon_) small_icon_.reset(LoadProgramIcon(module_, SM_CXSMICON, SM_CYSMICON));
    if (!font_) font_.reset(CreateMessageFont());
  }

  // Created in tab order: the options top to bottom, then OK and Storno.
  void CreateControls() {
    bool first = true;
    for (int index : kChoiceRowOrder) {
      const DWORD group = first ? WS_GROUP : 0;
      first = false;
      Row& row = rows_.At(index);
      row.option = MakeControl(L"", WS_TABSTOP | group | BS_AUTORADIOBUTTON, kOptionLeft,
                               OptionTop(index), kOptionWidth, kOptionHeight, OptionId(index));
    }
    ok_ = MakeControl(L"OK", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 145, 365, 75, 23, IDOK);
    cancel_ = MakeControl(L"Storno", WS_TABSTOP | BS_PUSHBUTTON, 240, 365, 75, 23, IDCANCEL);
  }

  HWND MakeControl(const wchar_t* text, DWORD style, int left, int top, int width, int height,
                   int id) {
    HWND control = CreateWindowExW(
        0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, left, top, width, height, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
    if (!control) throw WindowSystemError("A control of the dialog could not be created");
    HGDIOBJ font = font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  }

  // The input focus starts on the first enabled control in tab order.
  void FocusFirstControl() {
    HWND target = nullptr;
    for (int index : kChoiceRowOrder) {
      HWND option = rows_.At(index).option;
      if (option && IsWindowEnabled(option)) {
        target = option;
        break;
      }
    }
    if (!target) target = ok_;
    SetFocus(target);
    focus_ = target;
  }

  void Repaint(const RECT& rect) {
    if (window_) InvalidateRect(window_, &rect, FALSE);
  }

  void Paint(HDC target) {
    UniqueMemoryDc source(CreateCompatibleDC(target));
    // The bitmap the context came with, given back before it is deleted.
    HGDIOBJ original = source ? GetCurrentObject(source.get(), OBJ_BITMAP) : nullptr;
    if (background_) {
      DrawPicture(target, source.get(), background_.get(), 0, 0, kClientWidth, kClientHeight);
    } else {
      RECT all{0, 0, kClientWidth, kClientHeight};
      FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    for (int index = 1; index <= 3; ++index) {
      const Row& row = rows_.At(index);
      if (!row.greyed_visible) continue;
      const RECT& rect = row.greyed_rect;
      DrawPicture(target, source.get(), greyed_pictures_[index].get(), rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top);
    }
    if (original) SelectObject(source.get(), original);
  }

  // The click areas are transparent: a click on the window is theirs when
  // it falls into a visible one.
  void OnClick(POINT point) {
    for (int index : kChoiceRowOrder) {
      const Row& row = rows_.At(index);
      if (row.click_area_visible && PtInRect(&row.click_rect, point)) {
        events_.OnLabelClick(index);
        return;
      }
    }
  }

  // The button Enter presses: the focused push button, otherwise OK.
  int DefaultButtonId() const {
    HWND focus = GetFocus();
    if (focus && focus == cancel_) return IDCANCEL;
    return IDOK;
  }

  // Frames the button Enter presses, as a dialog box does: the focused push
  // button, and OK whenever the focus is not on a push button. The dialog
  // manager moves the frame to a push button that gets the focus, but a
  // plain window has to give it back to OK itself.
  void MarkDefaultButton() {
    const bool cancel_is_default = DefaultButtonId() == IDCANCEL;
    SetPushButtonType(ok_, cancel_is_default ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON);
    SetPushButtonType(cancel_, cancel_is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  }

  static void SetPushButtonType(HWND button, DWORD type) {
    if (!button) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE));
    if ((style & BS_TYPEMASK) != type) SendMessageW(button, BM_SETSTYLE, type, TRUE);
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers the whole client area
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        if (dc) Paint(dc);
        EndPaint(window_, &paint);
        return 0;
      }
      case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wparam));
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        // The controls sit on the picture's white ground.
        SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      case WM_LBUTTONDOWN:
        OnClick(POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
        return 0;
      case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED) {
          if (LOWORD(wparam) == IDOK) {
            events_.OnOk();
          } else if (LOWORD(wparam) == IDCANCEL) {
            events_.OnCancel();
          }
        }
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(DefaultButtonId(), DC_HASDEFID);
      case WM_NEXTDLGCTL: {
        // The dialog manager moves the focus this way (arrow keys leaving a
        // group); a plain window has to do it itself.
        HWND next = lparam ? reinterpret_cast<HWND>(wparam)
                           : GetNextDlgTabItem(window_, GetFocus(), wparam != 0);
        if (next) SetFocus(next);
        return 0;
      }
      case WM_ACTIVATE:
        // Keep the focused control across a switch to another window.
        if (LOWORD(wparam) == WA_INACTIVE) {
          HWND focus = GetFocus();
          if (focus && IsChild(window_, focus)) focus_ = focus;
          return 0;
        }
        if (focus_ && IsWindow(focus_)) {
          SetFocus(focus_);
          return 0;
        }
        return DefWindowProcW(window_, message, wparam, lparam);
      case WM_SETFOCUS:
        if (focus_ && IsWindow(focus_)) SetFocus(focus_);
        return 0;
      case WM_CLOSE:
        // The close box, the system menu and Alt+F4.
        if (!events_.OnCloseRequest()) DestroyWindow(window_);
        return 0;
      case WM_NCDESTROY: {
        HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        ok_ = cancel_ = focus_ = nullptr;
        for (Row& row : rows_) row.option = nullptr;
        return DefWindowProcW(window, message, wparam, lparam);
      }
      default:
        return DefWindowProcW(window_, message, wparam, lparam);
    }
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Win32ChoiceWindow* self;
    if (message == WM_NCCREATE) {
      self =
          static_cast<Win32ChoiceWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Win32ChoiceWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    // No exception may unwind through the window system; the modal loop
    // raises it again once the message has been handled.
    try {
      return self->HandleMessage(message, wparam, lparam);
    } catch (...) {
      if (!self->pending_error_) self->pending_error_ = std::current_exception();
      return 0;
    }
  }

  DialogWindowEvents& events_;
  HINSTANCE module_;
  HWND window_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus last
  ChoiceRows<Row> rows_;  // by variant, 1 to 3
  UniqueGdiObject<HBITMAP> background_;
  UniqueGdiObject<HBITMAP> greyed_pictures_[4];
  UniqueGdiObject<HFONT> font_;
  UniqueIcon big_icon_;
  UniqueIcon small_icon_;
  std::exception_ptr pending_error_;
};

}  // namespace

std::unique_ptr<DialogWindow> DialogWindow::Make(DialogWindowEvents& events) {
  return std::make_unique<Win32ChoiceWindow>(events);
}

}  // namespace brantvell
