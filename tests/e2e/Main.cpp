// The end-to-end tests run on a Wine virtual desktop of 1024 x 768 of their
// own, which the programs they start share by default, so that the tests can
// read the screen and send input where the program's windows are.
#include <gtest/gtest.h>

#include "e2e/Harness.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!JoinTestDesktop(TScreenSize{})) {
    std::fprintf(stderr, "cannot switch to the test desktop\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
