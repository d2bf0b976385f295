// The least file work a run of `brantvell /action=czsk` can do: the same
// folders, the same shortcut files byte for byte and the same log lines,
// each line appended by opening, writing and closing the log, with nothing
// else around it. run_bench.sh times the program against this floor.
//
//   io_floor pack PREFIX LOG PACK   records what a run of the program left in
//                                   PREFIX (group folder and desktop) and the
//                                   lines of its LOG into one file, PACK
//   io_floor run PACK PREFIX LOG [READ]
//                                   makes the same folders and files under
//                                   PREFIX and appends the lines to LOG;
//                                   reads the file READ (a prefix's
//                                   system.reg) once, whole, before that
//
// The pack is read with one open and one read, so the timed run spends its
// time on the output alone.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The folders of a Wine prefix that a czsk run writes into.
const char* const kOutputFolders[] = {
    "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Halvorna",
    "drive_c/users/Public/Desktop",
};

struct OutputFile {
  std::string path;  // relative to the prefix
  std::string bytes;
};

struct Pack {
  std::vector<std::string> folders;  // relative to the prefix, made in order
  std::vector<OutputFile> files;
  std::vector<std::string> lines;  // each with its line end
};

bool ReadWhole(const fs::path& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  bytes->resize(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(&(*bytes)[0], static_cast<std::streamsize>(bytes->size()));
  return !in.bad();
}

// Pack file: a line "<kind> <size>" then <size> bytes, for every entry;
// kinds D (folder path), P (file path, followed by its B entry), B (file
// bytes) and L (log line).
void PutEntry(std::string* out, char kind, const std::string& bytes) {
  *out += kind;
  *out += ' ';
  *out += std::to_string(bytes.size());
  *out += '\n';
  *out += bytes;
}

bool ParsePack(const std::string& text, Pack* pack) {
  size_t at = 0;
  std::string pending_path;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos || end < at + 3 || text[at + 1] != ' ') return false;
    char kind = text[at];
    size_t size = std::stoul(text.substr(at + 2, end - at - 2));
    at = end + 1;
    if (size > text.size() - at) return false;
    std::string bytes = text.substr(at, size);
    at += size;
    switch (kind) {
      case 'D':
        pack->folders.push_back(bytes);
        break;
      case 'P':
        pending_path = bytes;
        break;
      case 'B':
        pack->files.push_back({pending_path, bytes});
        break;
      case 'L':
        pack->lines.push_back(bytes);
        break;
      default:
        return false;
    }
  }
  return true;
}

int MakePack(const fs::path& prefix, const fs::path& log, const fs::path& pack_file) {
  std::string out;
  size_t files = 0;
  for (const char* folder : kOutputFolders) {
    PutEntry(&out, 'D', folder);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(prefix / folder, error)) {
      if (!entry.is_regular_file()) continue;
      std::string bytes;
      if (!ReadWhole(entry.path(), &bytes)) {
        std::cerr << "io_floor: cannot read " << entry.path() << "\n";
        return 1;
      }
      PutEntry(&out, 'P', std::string(folder) + "/" + entry.path().filename().string());
      PutEntry(&out, 'B', bytes);
      ++files;
    }
    if (error) {
      std::cerr << "io_floor: cannot list " << (prefix / folder) << ": " << error.message() << "\n";
      return 1;
    }
  }
  std::string log_text;
  if (!ReadWhole(log, &log_text)) {
    std::cerr << "io_floor: cannot read " << log << "\n";
    return 1;
  }
  size_t lines = 0;
  for (size_t at = 0; at < log_text.size();) {
    size_t end = log_text.find('\n', at);
    end = end == std::string::npos ? log_text.size() : end + 1;
    PutEntry(&out, 'L', log_text.substr(at, end - at));
    ++lines;
    at = end;
  }
  std::ofstream file(pack_file, std::ios::binary | std::ios::trunc);
  file << out;
  file.close();
  if (!file) {
    std::cerr << "io_floor: cannot write " << pack_file << "\n";
    return 1;
  }
  std::cout << files << " files, " << lines << " log lines\n";
  return 0;
}

int Run(const fs::path& pack_file, const fs::path& prefix, const std::string& log,
        const char* read_once) {
  std::string text;
  Pack pack;
  if (!ReadWhole(pack_file, &text) || !ParsePack(text, &pack)) {
    std::cerr << "io_floor: cannot read the pack " << pack_file << "\n";
    return 1;
  }
  // The least a run on a real prefix does besides: read the registry once.
  std::string registry;
  if (read_once != nullptr && !ReadWhole(read_once, &registry)) {
    std::cerr << "io_floor: cannot read " << read_once << "\n";
    return 1;
  }
  int failures = 0;
  for (const std::string& folder : pack.folders) {
    std::error_code error;
    fs::create_directories(prefix / folder, error);
    if (error) ++failures;
  }
  for (const OutputFile& file : pack.files) {
    std::FILE* out = std::fopen((prefix / file.path).c_str(), "wb");
    if (!out) {
      ++failures;
      continue;
    }
    if (std::fwrite(file.bytes.data(), 1, file.bytes.size(), out) != file.bytes.size()) ++failures;
    if (std::fclose(out) != 0) ++failures;
  }
  // One open, write and close for every line, as the log writer does.
  for (const std::string& line : pack.lines) {
    std::FILE* out = std::fopen(log.c_str(), "ab");
    if (!out) {
      ++failures;
      continue;
    }
    if (std::fwrite(line.data(), 1, line.size(), out) != line.size()) ++failures;
    if (std::fclose(out) != 0) ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "pack" && argc == 5) return MakePack(argv[2], argv[3], argv[4]);
  if (mode == "run" && (argc == 5 || argc == 6))
    return Run(argv[2], argv[3], argv[4], argc == 6 ? argv[5] : nullptr);
  std::cerr << "usage: io_floor pack PREFIX LOG PACK | io_floor run PACK PREFIX LOG [READ]\n";
  return 2;
}
