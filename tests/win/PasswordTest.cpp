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
  SetPasswordAnswer("refuse");
  SetScreenSaveUsePassword(1);
  EXPECT_FALSE(VerifyScreenSaverPassword(nullptr));
  SetScreenSaveUsePassword(0);
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  SetScreenSaveUsePassword(-1);
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  EXPECT_EQ(PasswordCalls(), 1) << "only the protected desktop consults the provider";
  SetPasswordAnswer("accept");
  SetScreenSaveUsePassword(1);
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  SetScreenSaveUsePassword(-1);
}

TEST(VerifyScreenSaverPassword, AFaultingProviderLeavesTheAnswerAsItWas) {
  TPasswordProvider Provider;
  SetScreenSaveUsePassword(1);
  SetPasswordAnswer("fault");
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr)) << "the saver may close";
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  EXPECT_EQ(PasswordCalls(), 2) << "the provider was asked each time";
  SetPasswordAnswer("refuse");
  EXPECT_FALSE(VerifyScreenSaverPassword(nullptr)) << "a later refusal is still heard";
  SetScreenSaveUsePassword(-1);
}

TEST(VerifyScreenSaverPassword, ClosesWhenNoProviderIsInstalled) {
  TPasswordProvider NoProvider(false);
  SetPasswordAnswer("refuse");
  SetScreenSaveUsePassword(1);
  EXPECT_TRUE(VerifyScreenSaverPassword(nullptr));
  SetScreenSaveUsePassword(-1);
}

}  // namespace
