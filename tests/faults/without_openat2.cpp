// without_openat2 COMMAND [ARGS...]: runs COMMAND as on a kernel that has
// no openat2. A seccomp filter, inherited by every process COMMAND starts,
// answers each openat2 call with ENOSYS, so the program takes its walk one
// folder at a time for every path instead of the single openat2 step.
//
// Exit status 126 when the filter cannot be set up or does not hide the
// call; otherwise COMMAND's.
#include <errno.h>
#include <fcntl.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/openat2.h>
#include <linux/seccomp.h>
#include <stddef.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

#if defined(__x86_64__)
constexpr unsigned kArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
constexpr unsigned kArch = AUDIT_ARCH_AARCH64;
#elif defined(__i386__)
constexpr unsigned kArch = AUDIT_ARCH_I386;
#else
#error "without_openat2 knows the audit architecture of x86_64, aarch64 and i386 only"
#endif

bool HideOpenat2() {
  // Calls of another architecture's numbering pass untouched: the number
  // would name another call there.
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat2, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog filter = {static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
  return prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: without_openat2 COMMAND [ARGS...]\n");
    return 2;
  }
  if (!HideOpenat2()) {
    std::fprintf(stderr, "without_openat2: the seccomp filter cannot be set: %s\n",
                 std::strerror(errno));
    return 126;
  }
  // The filter must be what makes openat2 fail: a call that would succeed
  // on this kernel has to come back with ENOSYS.
  open_how how{};
  how.flags = O_RDONLY | O_DIRECTORY;
  long fd = syscall(SYS_openat2, AT_FDCWD, "/", &how, sizeof how);
  if (fd >= 0 || errno != ENOSYS) {
    std::fprintf(stderr, "without_openat2: openat2 is not hidden (%s)\n",
                 fd >= 0 ? "it opened /" : std::strerror(errno));
    return 126;
  }
  execvp(argv[1], argv + 1);
  std::fprintf(stderr, "without_openat2: %s cannot be started: %s\n", argv[1],
               std::strerror(errno));
  return 126;
}
