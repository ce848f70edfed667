#include <gtest/gtest.h>

#include "app/MainSequence.h"
#include "platform/Errors.h"

namespace {

TEST(ApplicationErrorText, NamesKindModuleAndAddress) {
  EXPECT_EQ(ApplicationErrorText("EInOutError", "Pictarine.scr", reinterpret_cast<const void*>(0x0040A1B2),
                                 "File access denied"),
            "Exception EInOutError in module Pictarine.scr at 0040A1B2.\r\nFile access denied.\r\n");
  EXPECT_EQ(ApplicationErrorText("ERegistryException", "x.scr", nullptr, "Invalid data type for 'Random'"),
            "Exception ERegistryException in module x.scr at 00000000.\r\nInvalid data type for 'Random'\r\n");
}

TEST(EError, RecordsWhereItWasRaised) {
  try {
    throw EInOutError("Disk full");
  } catch (const EError& Error) {
    EXPECT_STREQ(Error.KindName(), "EInOutError");
    EXPECT_NE(Error.Address(), nullptr);
  }
}

}  // namespace
