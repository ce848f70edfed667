#include <gtest/gtest.h>

#include "app/SingleInstance.h"
#include "platform/Application.h"

namespace {

bool QuitMessageWaiting() {
  MSG Message;
  return PeekMessageA(&Message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

TEST(InstanceGuard, CreatesTheMutexWhenNoneExists) {
  TApplication App;
  TInstanceGuard Guard;
  Guard.Acquire(App);
  ASSERT_TRUE(Guard.Held());
  EXPECT_TRUE(App.ShowMainForm);
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
    TApplication App;
    TInstanceGuard Guard;
    Guard.Acquire(App);
    EXPECT_FALSE(Guard.Held());
    EXPECT_FALSE(App.ShowMainForm);
    EXPECT_TRUE(App.Terminated());
    EXPECT_TRUE(QuitMessageWaiting());
  }
  CloseHandle(Other);
}

}  // namespace
