// Keeps Wine's desktop process running while the benchmark times programs
// under Wine. Any program that joins a single-threaded COM apartment needs
// the desktop; Wine starts it on first use and stops it about a second
// after its last user has gone. Without a holder, whichever side of a
// comparison runs first after a pause pays for that start (about 150 ms
// here), which says nothing about either side's own work.
#include <objbase.h>
#include <windows.h>

int main() {
  if (FAILED(CoInitialize(nullptr))) return 1;
  Sleep(INFINITE);
  return 0;
}
