// The password check against the real registry and a stand-in provider DLL in
// the system directory.
#include <gtest/gtest.h>

#include "app/ScreenSaverUtils.h"
#include "support/TestEnvironment.h"

namespace {

TEST(SystemDirectory, EndsInOneBackslash) {
  const std::string Directory = SystemDirectory();
  ASSERT_GE(Directory.size(), 2u);
  EXPECT_EQ(Directory.back(), '\\');
  EXPECT_NE(Directory[Directory.size() - 2], '\\');
  EXPECT_EQ(GetFileAttributesA((Directory + "kernel32.dll").c_str()) != INVALID_FILE_ATTRIBUTES, true);
}

TEST(VerifyScreenSaverPassword, AsksTheProviderOnlyWhenTheDesktopSaysSo) {
  TPasswordProvider Provider;
  TScopedEnvironment Calls("PICTARINE_TEST_PASSWORD_CALLS", "0");
  {
    TScopedEnvironment Answer("PICTARINE_TEST_PASSWORD", "refuse");
    SetScreenSaveUsePassword(1);
    EXPECT_FALSE(VerifyScreenSaverPassword(nullptr));
    SetScreenSaveUsePassword(0);
    EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
    SetScreenSaveUsePassword(-1);
    EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  }
  char Count[16] = "";
  GetEnvironmentVariableA("PICTARINE_TEST_PASSWORD_CALLS", Count, sizeof Count);
  EXPECT_STREQ(Count, "1") << "only the protected desktop consults the provider";
  {
    TScopedEnvironment Answer("PICTARINE_TEST_PASSWORD", "accept");
    SetScreenSaveUsePassword(1);
    EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  }
  SetScreenSaveUsePassword(-1);
}

TEST(VerifyScreenSaverPassword, ClosesWhenNoProviderIsInstalled) {
  TPasswordProvider NoProvider(false);
  TScopedEnvironment Answer("PICTARINE_TEST_PASSWORD", "refuse");
  SetScreenSaveUsePassword(1);
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  SetScreenSaveUsePassword(-1);
}

}  // namespace
