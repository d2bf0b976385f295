// platform/wineprefix/: the Windows machine that a Wine prefix stands for,
// served on a POSIX host. The drive letters and their folders, the registry
// files, the shell links and internet shortcuts, the ANSI code page and the
// WScript.Shell / Scripting.FileSystemObject members the program calls are
// implemented here from the prefix's files, so the core runs unchanged. This
// folder must contain no Windows API; it may use POSIX calls for the files it
// reads and writes.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_WINEPREFIX_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_WINEPREFIX_H_

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_WINEPREFIX_H_
