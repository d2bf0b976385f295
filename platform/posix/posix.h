// platform/posix/: the host services of a POSIX system (clock, counter,
// profile reader, terminal, the message box and the choice dialog on the
// terminal). This folder must contain only generic POSIX code: nothing of
// the Windows API, nothing of Linux alone, no file of another room, and
// nothing that knows the layout of a Wine prefix beyond the drive mapping it
// is handed through platform/host_path.h.
#ifndef BRANTVELL_PLATFORM_POSIX_POSIX_H_
#define BRANTVELL_PLATFORM_POSIX_POSIX_H_

#endif  // BRANTVELL_PLATFORM_POSIX_POSIX_H_
