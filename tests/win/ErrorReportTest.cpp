#include <gtest/gtest.h>

#include "app/MainSequence.h"
#include "core/Errors.h"

namespace {

TEST(ApplicationErrorText, NamesKindModuleAndTheWholeAddress) {
  // An address above 4 GiB on 64-bit Windows must not lose its upper half.
#ifdef _WIN64
  const auto* Address = reinterpret_cast<const void*>(0x00007FF6A040A1B2ull);
  const char* Shown = "00007FF6A040A1B2";
  const char* Null = "0000000000000000";
#else
  const auto* Address = reinterpret_cast<const void*>(0x0040A1B2u);
  const char* Shown = "0040A1B2";
  const char* Null = "00000000";
#endif
  EXPECT_EQ(ApplicationErrorText("EInOutError", "Pictarine.scr", Address, "File access denied"),
            std::string("Exception EInOutError in module Pictarine.scr at ") + Shown +
                ".\r\nFile access denied.\r\n");
  EXPECT_EQ(ApplicationErrorText("ERegistryException", "x.scr", nullptr, "Invalid data type for 'Random'"),
            std::string("Exception ERegistryException in module x.scr at ") + Null +
                ".\r\nInvalid data type for 'Random'\r\n");
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
