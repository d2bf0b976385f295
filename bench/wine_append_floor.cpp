// The least a log record can cost under Wine: opens a file in the folder
// given, appends one record-sized line and closes it again, as the program's
// log does for every record, and prints the microseconds per record (median
// of five rounds). Under Wine each open and close is a request to the wine
// server, which no choice of Win32 call avoids.
//
// Usage: wine_append_floor FOLDER [RECORDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double NowMicroseconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

bool AppendOnce(const std::wstring& path, const std::string& line) {
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return CloseHandle(file) && ok && written == line.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: wine_append_floor FOLDER [RECORDS]\n");
    return 2;
  }
  std::wstring path = std::wstring(argv[1]) + L"\\append_floor.txt";
  int records = argc > 2 ? _wtoi(argv[2]) : 144;
  if (records <= 0) records = 144;
  const std::string line =
      "DebugLog: 2026/12/08 19:00:00\tBrantvell[clsBrantvell] (GET AppPath)\tRETURN=C:\\App\r\n";
  std::vector<double> rounds;
  for (int round = 0; round < 5; ++round) {
    DeleteFileW(path.c_str());
    double start = NowMicroseconds();
    for (int i = 0; i < records; ++i) {
      if (!AppendOnce(path, line)) {
        std::fprintf(stderr, "wine_append_floor: cannot append (error %lu)\n", GetLastError());
        return 1;
      }
    }
    rounds.push_back((NowMicroseconds() - start) / records);
  }
  DeleteFileW(path.c_str());
  std::sort(rounds.begin(), rounds.end());
  std::printf("%.1f\n", rounds[rounds.size() / 2]);
  return 0;
}
