// The names of a folder, read with getdents64 straight from the folder's
// descriptor (no directory stream to set up), and the choice among them of
// the entry a Windows name means.
#ifndef BRANTVELL_PLATFORM_LINUX_DIR_ENTRIES_H_
#define BRANTVELL_PLATFORM_LINUX_DIR_ENTRIES_H_

#include <dirent.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "platform/text.h"

namespace brantvell {

// Calls `visit` with each name of the folder open for reading as `fd`
// ("." and ".." included). False when the folder cannot be read.
template <typename Visit>
bool ForEachEntry(int fd, Visit&& visit) {
  alignas(dirent64) char buffer[32768];
  for (;;) {
    ssize_t size = getdents64(fd, buffer, sizeof buffer);
    if (size < 0) return false;
    if (size == 0) return true;
    for (ssize_t at = 0; at < size;) {
      const dirent64* entry = reinterpret_cast<const dirent64*>(buffer + at);
      visit(static_cast<const char*>(entry->d_name));
      at += entry->d_reclen;
    }
  }
}

// The entry that Windows name `name` means among the names offered: the
// exact spelling when it is there, else of those equal without regard to
// case the first in byte order, so the choice does not depend on the order
// of the listing; `name` itself when none is.
class NameMatch {
 public:
  explicit NameMatch(std::string name) : name_(std::move(name)) {}
  void Offer(const char* entry) {
    if (exact_ || !EqualsNoCase(entry, name_)) return;
    if (name_ == entry) {
      exact_ = true;
      best_ = entry;
    } else if (best_.empty() || best_.compare(entry) > 0) {
      best_ = entry;
    }
  }
  const std::string& Result() const { return best_.empty() ? name_ : best_; }

 private:
  std::string name_;
  std::string best_;
  bool exact_ = false;
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_LINUX_DIR_ENTRIES_H_
