#include "platform/shell_notify.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32.h"

#include <objbase.h>
#include <shlobj.h>

namespace brantvell {

namespace {

using ItemList = UniqueCoTaskMem<ITEMIDLIST>;

ItemList SpecialFolder(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list))) return ItemList();
  return ItemList(list);
}

}  // namespace

void NotifyCommonFoldersChanged() {
  ItemList programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
  ItemList desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
  if (!programs && !desktop) return;
  // The event names the first folder; put whichever exists first.
  const ITEMIDLIST* first = programs ? programs.get() : desktop.get();
  const ITEMIDLIST* second = programs ? desktop.get() : nullptr;
  SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, first, second);
}

}  // namespace brantvell
