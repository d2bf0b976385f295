// The texts of desktop entries, directory entries and menu files, and where
// a shortcut of the prefix belongs on the desktop. Pure text: no files.
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_FILE_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_FILE_H_

#include <string>
#include <vector>

namespace brantvell {

// The key that marks an entry as made by this program for one prefix.
extern const char kPrefixKey[];
// The key that marks a directory entry as made by this program.
extern const char kMadeKey[];
// The key that names the shortcut (its Windows path) an entry stands for.
extern const char kShortcutKey[];

// A value as a desktop file holds it: backslash, line breaks and tabs
// escaped, a leading space as "\s", other control characters as U+FFFD.
std::string EscapeEntryValue(const std::string& value);

// One argument of an Exec key before the value escape: "%" doubled, and
// quoted in double quotes (with '"', '`', '$' and '\' escaped) when it
// holds a reserved character or is empty.
std::string QuoteExecArgument(const std::string& argument);

// The Exec value of the arguments, quoted and then escaped as a value.
std::string ExecValue(const std::vector<std::string>& arguments);

// Text inside an XML element of a menu file.
std::string EscapeXml(const std::string& text);

// Where the shortcut (or folder) at a Windows path belongs: kMenu for the
// Start menu's Programs folder (with the folders below it, `folders`),
// kDesktop for a user's or the public desktop. `name` is the last
// component without ".lnk"/".url".
enum class EntryPlace { kNone, kMenu, kDesktop };
EntryPlace PlaceOf(const std::string& path, std::vector<std::string>* folders, std::string* name);

// "wine-Programs-<folder>-..." (the menu name prefix of a Programs folder).
std::string MenuId(const std::vector<std::string>& folders);

// The value of `key` in the [Desktop Entry] group of a desktop file's text,
// unescaped; false when it has none.
bool EntryValue(const std::string& text, const std::string& key, std::string* value);

// What the entry of a shortcut says: always an application, since menus
// that follow GLib (GNOME's among them) leave Type=Link entries out.
struct EntryFields {
  std::string name;
  std::string comment;
  std::vector<std::string> exec;
  std::string working_folder;  // Path (a host path)
  std::string icon;
  std::string wm_class;
  bool startup_notify = true;
  std::string prefix;    // the X-Brantvell-Prefix value
  std::string shortcut;  // the X-Brantvell-Shortcut value
};

// The command of an Internet shortcut's entry: its address opened by the
// desktop's own handler.
std::vector<std::string> WebCommand(const std::string& url);
std::string EntryText(const EntryFields& fields);

// A Type=Directory entry of the menu's folder `name`.
std::string DirectoryText(const std::string& name, const std::string& icon);

// A menu file that puts desktop file ID `entry_id` into the submenus
// wine > Programs > `folders`, marked as made by this program.
std::string MenuText(const std::vector<std::string>& folders, const std::string& entry_id);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_FILE_H_
