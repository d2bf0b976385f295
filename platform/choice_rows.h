// The state the dialog's logic sets on the three choice rows, which every
// window keeps alike: the Windows window adds its controls to each row, the
// terminal's view draws from it.
#ifndef BRANTVELL_PLATFORM_CHOICE_ROWS_H_
#define BRANTVELL_PLATFORM_CHOICE_ROWS_H_

#include "platform/error.h"

namespace brantvell {

// The two lines of a row's label, as the dialog's pictures show them: the
// row's own name, then its English name.
struct ChoiceRowLabel {
  const char* first_line;
  const char* second_line;
};

inline ChoiceRowLabel ChoiceRowLabelOf(int index) {
  switch (index) {
    case 2:
      return {"Slovenská republika", "Slovak republic"};
    case 3:
      return {"Česká republika i Slovenská republika", "Czech republic and Slovak republic"};
    default:
      return {"Česká republika", "Czech republic"};
  }
}

struct ChoiceRowState {
  bool click_area_visible = true;
  bool greyed_visible = false;
  bool enabled = true;
  bool selected = false;
};

// Rows by variant number, 1 to 3 (a ChoiceRowState or a window's row
// derived from it); any other index raises Error 9, as the window's
// members must.
template <typename Row>
class ChoiceRows {
 public:
  Row& At(int index) {
    if (index < 1 || index > 3) throw OwnError(kErrSubscriptOutOfRange);
    return rows_[index - 1];
  }
  const Row& At(int index) const { return const_cast<ChoiceRows*>(this)->At(index); }

  void Reset() {
    for (Row& row : rows_) row = Row();
  }

  // The option buttons are one group: selecting one clears the other two,
  // clearing one touches only that one. `changed` is called with every row
  // whose `selected` was set.
  template <typename Changed>
  void Select(int index, bool selected, Changed&& changed) {
    At(index);
    for (int other = 1; other <= 3; ++other) {
      if (other != index && !selected) continue;
      Row& row = rows_[other - 1];
      row.selected = other == index && selected;
      changed(row);
    }
  }
  void Select(int index, bool selected) {
    Select(index, selected, [](Row&) {});
  }

  Row* begin() { return rows_; }
  Row* end() { return rows_ + 3; }

 private:
  Row rows_[3];
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_CHOICE_ROWS_H_
