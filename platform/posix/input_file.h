// Opening the files the program reads (registry, log configuration, the
// desktop's user folders, an icon's executable) and the log it appends to.
// Whatever stands in a file's place must not stall or swamp a run: the
// open never waits (a FIFO without a writer, a device), and only a regular
// file up to a size that fits what it holds is taken; anything else counts
// as a file that cannot be read.
#ifndef BRANTVELL_PLATFORM_POSIX_INPUT_FILE_H_
#define BRANTVELL_PLATFORM_POSIX_INPUT_FILE_H_

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <string>

#include "platform/posix/unique_fd.h"

namespace brantvell {

// Opens `path` for reading (relative to the folder `at`, or to the current
// folder by default) without blocking, with `extra_flags` such as
// O_NOFOLLOW added. Invalid unless it is a regular file of at most `cap`
// bytes; `info`, when given, receives its status.
UniqueFd OpenInput(const std::string& path, off_t cap, int extra_flags = 0,
                   struct stat* info = nullptr, int at = AT_FDCWD);

// The whole content of an input opened as OpenInput does. False when it
// cannot be opened or read, or when it holds more than `cap` bytes by the
// time it is read (it may grow after the open).
bool ReadInput(const std::string& path, off_t cap, std::string* text, int extra_flags = 0,
               struct stat* info = nullptr);

// Reads the rest of an open file, at most `cap` bytes; false when there is
// more or a read fails.
bool ReadAll(int fd, off_t cap, std::string* text);

// Opens `name` (relative to `at`) for appending, made 0600 when it is new,
// never through a link at its last component and never waiting: a FIFO
// without a reader is refused, and writes to anything else never wait.
UniqueFd OpenAppend(const std::string& name, int at = AT_FDCWD);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_INPUT_FILE_H_
