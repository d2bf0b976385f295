// platform/freedesktop/: the Linux desktop's menu, desktop folder and icon
// theme, written after the freedesktop Desktop Entry and Menu
// specifications for the shortcuts saved into a Wine prefix. This folder
// must contain no Windows API and must never touch the prefix itself: it
// only reads the files the shortcuts point at and writes below the user's
// XDG data, config and desktop folders.
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_FREEDESKTOP_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_FREEDESKTOP_H_

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_FREEDESKTOP_H_
