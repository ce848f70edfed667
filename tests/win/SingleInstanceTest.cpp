#include <gtest/gtest.h>

#include "app/SingleInstance.h"
#include "platform/Application.h"

namespace {

bool QuitMessageWaiting() {
  MSG Message;
  return PeekMessageA(&Message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

TEST(AcquireInstanceMutex, CreatesTheMutexWhenNoneExists) {
  TApplication App;
  AcquireInstanceMutex();
  ASSERT_NE(InstanceMutex, nullptr);
  EXPECT_TRUE(App.ShowMainForm);
  EXPECT_FALSE(QuitMessageWaiting());
  HANDLE Seen = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName);
  EXPECT_NE(Seen, nullptr);
  CloseHandle(Seen);

  ReleaseInstanceMutex();
  EXPECT_EQ(InstanceMutex, nullptr);
  ReleaseInstanceMutex();  // a second release does nothing
  EXPECT_EQ(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName), nullptr);
}

TEST(AcquireInstanceMutex, StandsBackWhenAnotherInstanceHoldsIt) {
  HANDLE Other = CreateMutexA(nullptr, FALSE, InstanceMutexName);
  ASSERT_NE(Other, nullptr);
  {
    TApplication App;
    AcquireInstanceMutex();
    EXPECT_EQ(InstanceMutex, nullptr);
    EXPECT_FALSE(App.ShowMainForm);
    EXPECT_TRUE(App.Terminated());
    EXPECT_TRUE(QuitMessageWaiting());
  }
  CloseHandle(Other);
}

}  // namespace
