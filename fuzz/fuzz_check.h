// The one way a fuzz target reports a broken property: it says which one and
// aborts, so libFuzzer keeps the input that broke it.
#ifndef BRANTVELL_FUZZ_FUZZ_CHECK_H_
#define BRANTVELL_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                          \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: property broken: %s\n  (%s)\n", __FILE__, __LINE__, what, \
                   #condition);                                                              \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

#endif  // BRANTVELL_FUZZ_FUZZ_CHECK_H_
