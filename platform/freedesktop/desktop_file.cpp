#include "platform/freedesktop/desktop_file.h"

#include "platform/freedesktop/freedesktop.h"

#include <cstring>

#include "platform/text.h"

namespace brantvell {

const char kPrefixKey[] = "X-Brantvell-Prefix";
const char kMadeKey[] = "X-Brantvell";
const char kShortcutKey[] = "X-Brantvell-Shortcut";

namespace {

// Characters that make the Exec specification require a quoted argument.
const char kReserved[] = " \t\n\"'\\><~|&;$*?#()`";

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string StripShortcutExtension(const std::string& name) {
  if (name.size() > 4) {
    std::string tail = ToLower(name.substr(name.size() - 4));
    if (tail == ".lnk" || tail == ".url") return name.substr(0, name.size() - 4);
  }
  return name;
}

void AddLine(std::string* text, const char* key, const std::string& value) {
  if (!value.empty()) *text += std::string(key) + "=" + EscapeEntryValue(value) + "\n";
}

}  // namespace

std::string EscapeEntryValue(const std::string& raw) {
  // Desktop entry values may hold no control character; those that have no
  // escape of their own become U+FFFD.
  const std::string value = ControlsReplaced(raw);
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == ' ' && i == 0) {
      out += "\\s";
    } else {
      out += c;
    }
  }
  return out;
}

std::string QuoteExecArgument(const std::string& argument) {
  std::string text;
  for (char c : argument) {
    if (c == '%') text += '%';
    text += c;
  }
  if (!text.empty() && text.find_first_of(kReserved) == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string ExecValue(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    line += QuoteExecArgument(argument);
  }
  return EscapeEntryValue(line);
}

std::string EscapeXml(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

EntryPlace PlaceOf(const std::string& path, std::vector<std::string>* folders, std::string* name) {
  std::vector<std::string> parts = SplitPath(path);
  folders->clear();
  name->clear();
  if (parts.size() < 2) return EntryPlace::kNone;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (EqualsNoCase(parts[i], "Start Menu") && EqualsNoCase(parts[i + 1], "Programs")) {
      if (i + 2 >= parts.size()) return EntryPlace::kNone;
      folders->assign(parts.begin() + static_cast<std::ptrdiff_t>(i) + 2, parts.end() - 1);
      *name = StripShortcutExtension(parts.back());
      return EntryPlace::kMenu;
    }
  }
  size_t n = parts.size();
  if (n >= 4 && EqualsNoCase(parts[n - 2], "Desktop") && EqualsNoCase(parts[n - 4], "users")) {
    *name = StripShortcutExtension(parts.back());
    return EntryPlace::kDesktop;
  }
  return EntryPlace::kNone;
}

std::string MenuId(const std::vector<std::string>& folders) {
  std::string id = "wine-Programs";
  for (const std::string& folder : folders) id += "-" + folder;
  return id;
}

bool EntryValue(const std::string& text, const std::string& key, std::string* value) {
  bool in_group = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      in_group = line == "[Desktop Entry]";
      continue;
    }
    if (!in_group || line.compare(0, key.size(), key) != 0) continue;
    size_t equals = line.find_first_not_of(' ', key.size());
    if (equals == std::string::npos || line[equals] != '=') continue;
    size_t begin = line.find_first_not_of(' ', equals + 1);
    std::string raw = begin == std::string::npos ? std::string() : line.substr(begin);
    value->clear();
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '\\' || i + 1 == raw.size()) {
        *value += raw[i];
        continue;
      }
      char next = raw[++i];
      *value += next == 'n'   ? '\n'
                : next == 't' ? '\t'
                : next == 'r' ? '\r'
                : next == 's' ? ' '
                              : next;
    }
    return true;
  }
  return false;
}

std::vector<std::string> WebCommand(const std::string& url) { return {"xdg-open", url}; }

std::string EntryText(const EntryFields& fields) {
  std::string text = "[Desktop Entry]\nType=Application\n";
  AddLine(&text, "Name", fields.name);
  AddLine(&text, "Comment", fields.comment);
  text += "Exec=" + ExecValue(fields.exec) + "\n";
  AddLine(&text, "Path", fields.working_folder);
  AddLine(&text, "StartupWMClass", fields.wm_class);
  if (fields.startup_notify) text += "StartupNotify=true\n";
  AddLine(&text, "Icon", fields.icon);
  AddLine(&text, kPrefixKey, fields.prefix);
  AddLine(&text, kShortcutKey, fields.shortcut);
  return text;
}

std::string DirectoryText(const std::string& name, const std::string& icon) {
  return "[Desktop Entry]\nType=Directory\nName=" + EscapeEntryValue(name) +
         "\nIcon=" + EscapeEntryValue(icon) + "\n" + kMadeKey + "=true\n";
}

std::string MenuText(const std::vector<std::string>& folders, const std::string& entry_id) {
  std::string text =
      "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
      " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
      "<!-- " +
      std::string(kMadeKey) + " -->\n<Menu>\n  <Name>Applications</Name>\n";
  std::vector<std::string> ids = {"wine-wine", "wine-Programs"};
  for (size_t i = 0; i < folders.size(); ++i) {
    ids.push_back(MenuId(std::vector<std::string>(
        folders.begin(), folders.begin() + static_cast<std::ptrdiff_t>(i) + 1)));
  }
  std::string indent = "  ";
  for (const std::string& id : ids) {
    text += indent + "<Menu>\n" + indent + "  <Name>" + EscapeXml(id) + "</Name>\n" + indent +
            "  <Directory>" + EscapeXml(id) + ".directory</Directory>\n";
    indent += "  ";
  }
  text += indent + "<Include><Filename>" + EscapeXml(entry_id) + "</Filename></Include>\n";
  for (size_t i = 0; i < ids.size(); ++i) {
    indent.resize(indent.size() - 2);
    text += indent + "</Menu>\n";
  }
  return text + "</Menu>\n";
}

}  // namespace brantvell
