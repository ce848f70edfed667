// The tests of the saver on several monitors run on the display itself (a
// Wine virtual desktop has one monitor), which the test command makes of two
// monitors of different sizes.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
