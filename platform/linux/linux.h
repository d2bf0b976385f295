// platform/linux/: the Linux program's own wiring. Its command-line
// options and help, the switch that turns the desktop entries off, the
// check of the prefix before anything is written, the message box that adds
// the prefix's and the last call's cause, the shell refresh that rewrites
// the desktop entries, and what only Linux has (the directory listing with
// getdents64, the program's folder from /proc). Linux-only code the rooms
// share lives here, not in posix/; the Windows program compiles nothing of
// this folder.
#ifndef BRANTVELL_PLATFORM_LINUX_LINUX_H_
#define BRANTVELL_PLATFORM_LINUX_LINUX_H_

#endif  // BRANTVELL_PLATFORM_LINUX_LINUX_H_
