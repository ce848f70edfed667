// The end-to-end tests run on a Wine virtual desktop of their own (1024 x 768
// unless PICTARINE_TEST_SCREEN says otherwise), which the programs they start
// share by default, so that the tests can read the screen and send input
// where the program's windows are.
#include <gtest/gtest.h>

#include "e2e/Harness.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (!JoinTestDesktop(TestScreen())) {
    std::fprintf(stderr, "cannot switch to the test desktop\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
