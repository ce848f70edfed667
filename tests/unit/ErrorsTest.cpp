#include "core/Errors.h"

#include <gtest/gtest.h>

TEST(WithFullStop, AppendsOnlyAfterCharactersThatSortAfterAFullStop) {
  EXPECT_EQ(WithFullStop("Disk full"), "Disk full.");
  EXPECT_EQ(WithFullStop("Done."), "Done.");
  EXPECT_EQ(WithFullStop("List index out of bounds (3)"), "List index out of bounds (3)");
  EXPECT_EQ(WithFullStop("Invalid data type for 'Random'"), "Invalid data type for 'Random'");
  EXPECT_EQ(WithFullStop("value 7"), "value 7.");
  EXPECT_EQ(WithFullStop("a-"), "a-");
  EXPECT_EQ(WithFullStop(""), "");
  EXPECT_EQ(Format("'%s' is not a valid integer value", "12ab"), "'12ab' is not a valid integer value");
}
