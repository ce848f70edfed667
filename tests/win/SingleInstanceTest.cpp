#include <gtest/gtest.h>

#include "app/SingleInstance.h"

namespace {

bool QuitMessageWaiting() {
  MSG Message;
  return PeekMessageA(&Message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

TEST(InstanceGuard, CreatesTheMutexWhenNoneExists) {
  TInstanceGuard Guard;
  Guard.Acquire();
  ASSERT_TRUE(Guard.Held());
  EXPECT_FALSE(Guard.SecondInstance());
  EXPECT_FALSE(QuitMessageWaiting());
  HANDLE Seen = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName);
  EXPECT_NE(Seen, nullptr);
  CloseHandle(Seen);

  Guard.Release();
  EXPECT_FALSE(Guard.Held());
  Guard.Release();  // a second release does nothing
  EXPECT_EQ(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName), nullptr);
}

TEST(InstanceGuard, StandsBackWhenAnotherInstanceHoldsIt) {
  HANDLE Other = CreateMutexA(nullptr, FALSE, InstanceMutexName);
  ASSERT_NE(Other, nullptr);
  {
    TInstanceGuard Guard;
    Guard.Acquire();
    EXPECT_FALSE(Guard.Held());
    EXPECT_TRUE(Guard.SecondInstance());
    EXPECT_FALSE(QuitMessageWaiting()) << "what a second instance does is its run mode's business";
  }
  CloseHandle(Other);
}

}  // namespace
