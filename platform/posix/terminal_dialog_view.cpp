#include "platform/posix/terminal_dialog_view.h"

#include <memory>
#include <sstream>

namespace brantvell {

namespace {

constexpr const char kDim[] = "\x1b[2m";
constexpr const char kNormal[] = "\x1b[0m";
constexpr const char kUnavailableMarker[] = "(nedostupné)";

}  // namespace

TerminalDialogView::TerminalDialogView(DialogWindowEvents& events, Terminal& terminal,
                                       std::ostream& out)
    : events_(events), terminal_(terminal), out_(out) {}

void TerminalDialogView::Create(const std::string& caption) {
  caption_ = caption;
  rows_.Reset();
  exists_ = true;
  visible_ = false;
  events_.OnLoad();
}

void TerminalDialogView::Destroy() {
  exists_ = false;
  visible_ = false;
}

void TerminalDialogView::SetClickAreaVisible(int index, bool visible) {
  rows_.At(index).click_area_visible = visible;
}

void TerminalDialogView::SetGreyedVisible(int index, bool visible) {
  rows_.At(index).greyed_visible = visible;
}

void TerminalDialogView::SetOptionEnabled(int index, bool enabled) {
  rows_.At(index).enabled = enabled;
}

void TerminalDialogView::SetOptionSelected(int index, bool selected) {
  rows_.Select(index, selected);
}

bool TerminalDialogView::IsOptionSelected(int index) const { return rows_.At(index).selected; }

void TerminalDialogView::PlaceImage(bool /*greyed*/, int index, const ControlRect& /*rect*/) {
  // Text rows have no pixel positions; only the index is checked.
  rows_.At(index);
}

void TerminalDialogView::ShowModal() {
  if (!exists_) return;
  visible_ = true;
  interactive_ = terminal_.InputIsTerminal();
  std::unique_ptr<TerminalRawMode> raw_mode;
  if (interactive_) raw_mode = terminal_.EnterRawMode();
  drawn_lines_ = 0;
  Draw();
  while (exists_ && visible_) Run(NextCommand());
  out_.flush();
}

DialogCommand TerminalDialogView::NextCommand() {
  if (interactive_) return DialogCommandFromKey(terminal_.ReadKey());
  std::string line;
  if (!terminal_.ReadLine(&line)) {
    DialogCommand close;
    close.kind = DialogCommand::kClose;
    return close;
  }
  return ParseDialogCommandLine(line);
}

void TerminalDialogView::Run(const DialogCommand& command) {
  switch (command.kind) {
    case DialogCommand::kSelectRow:
      PickRowAt(command.row - 1);
      break;
    case DialogCommand::kUp:
      MoveSelection(-1);
      break;
    case DialogCommand::kDown:
      MoveSelection(+1);
      break;
    case DialogCommand::kOk:
      events_.OnOk();
      break;
    case DialogCommand::kCancel:
      events_.OnCancel();
      break;
    case DialogCommand::kClose:
      Close();
      break;
    case DialogCommand::kNone:
      if (!interactive_) out_ << "? 1, 2, 3, up, down, ok, esc, s\n" << std::flush;
      break;
  }
}

void TerminalDialogView::PickRowAt(int position) {
  if (position < 0 || position > 2) return;
  const int index = kChoiceRowOrder[position];
  // A greyed row has no click area, so it cannot be picked.
  if (!rows_.At(index).click_area_visible) return;
  events_.OnLabelClick(index);
  if (exists_ && visible_) Draw();
}

void TerminalDialogView::MoveSelection(int step) {
  int current = -1;
  for (int position = 0; position < 3; ++position) {
    if (rows_.At(kChoiceRowOrder[position]).selected) current = position;
  }
  // With nothing selected, Down starts at the top and Up at the bottom.
  if (current < 0) current = step > 0 ? -1 : 3;
  for (int position = current + step; position >= 0 && position < 3; position += step) {
    if (rows_.At(kChoiceRowOrder[position]).click_area_visible) {
      PickRowAt(position);
      return;
    }
  }
}

void TerminalDialogView::Close() {
  if (!events_.OnCloseRequest()) {
    Destroy();
  } else if (!interactive_) {
    // No further line can arrive once the input has ended; stop waiting.
    visible_ = false;
  }
}

void TerminalDialogView::Draw() {
  std::ostringstream text;
  int lines = 0;
  auto line = [&](const std::string& s) {
    text << s << '\n';
    ++lines;
  };
  line(caption_);
  line("Instalace Brantvell / Inštalácia Brantvell / Installation Brantvell");
  line("");
  for (int position = 0; position < 3; ++position) {
    const int index = kChoiceRowOrder[position];
    const ChoiceRowState& row = rows_.At(index);
    const ChoiceRowLabel label = ChoiceRowLabelOf(index);
    const std::string mark = row.selected ? "(*)" : "( )";
    const std::string number = std::to_string(position + 1);
    std::string first = "  " + mark + " " + number + "  " + label.first_line;
    std::string second = std::string("         ") + label.second_line;
    if (row.greyed_visible) {
      // Named in words too: dim text alone is lost on a monochrome terminal
      // and on a screen reader.
      first += std::string("  ") + kUnavailableMarker;
      if (interactive_) {
        first = kDim + first + kNormal;
        second = kDim + second + kNormal;
      }
    }
    line(first);
    line(second);
  }
  line("");
  line("  [ OK ]  [ Storno ]");
  line(interactive_ ? "  1-3, šipky: výběr   Enter: OK   Esc, s: Storno"
                    : "  1, 2, 3, up, down: výběr   ok: OK   esc, s: Storno");
  if (interactive_ && drawn_lines_ > 0) {
    // Back to the top of the last drawing and clear it.
    out_ << "\x1b[" << drawn_lines_ << "A\r\x1b[J";
  }
  out_ << text.str() << std::flush;
  drawn_lines_ = lines;
}

}  // namespace brantvell
