#pragma once
// A failed check in a fuzz target: the input breaks a documented rule. It
// aborts, which libFuzzer reports as a finding and saves the input.
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(Condition)                                                              \
  do {                                                                                     \
    if (!(Condition)) {                                                                    \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #Condition); \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)
