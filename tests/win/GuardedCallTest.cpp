// Calls that fault end instead of taking the process with them.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/GuardedCall.h"

namespace {

void WriteThroughNull() {
  volatile int* volatile Nowhere = nullptr;
  *Nowhere = 1;
}

TEST(CallGuarded, ReturnsWhetherTheCallCompletedAndLeavesTheProcessRunning) {
  volatile int Done = 0;  // every store made as written, none moved across the fault
  EXPECT_TRUE(CallGuarded([&Done] { Done = 1; }));
  EXPECT_EQ(Done, 1);

  EXPECT_FALSE(CallGuarded([&Done] {
    Done = 2;
    WriteThroughNull();
    Done = 3;
  }));
  EXPECT_EQ(Done, 2) << "nothing after the fault ran";

  volatile int Seven = 7, Zero = 0;
  EXPECT_FALSE(CallGuarded([&] { volatile int Quotient = Seven / Zero; (void)Quotient; })) << "division by zero";

  // After faults the guard is as new: a clean call completes again, many times.
  for (int I = 0; I < 100; ++I) EXPECT_FALSE(CallGuarded(WriteThroughNull)) << I;
  EXPECT_TRUE(CallGuarded([&Done] { Done = 4; }));
  EXPECT_EQ(Done, 4);
}

TEST(CallGuarded, AnInnerFaultEndsOnlyTheInnerCall) {
  bool Inner = true, After = false;
  EXPECT_TRUE(CallGuarded([&] {
    Inner = CallGuarded(WriteThroughNull);
    After = true;
  }));
  EXPECT_FALSE(Inner);
  EXPECT_TRUE(After);
  EXPECT_FALSE(CallGuarded([] { EXPECT_TRUE(CallGuarded([] {})); WriteThroughNull(); }));
}

TEST(CallGuarded, LetsCppExceptionsPassAndStaysUsable) {
  EXPECT_THROW(CallGuarded([] { throw std::runtime_error("passes"); }), std::runtime_error);
  EXPECT_FALSE(CallGuarded(WriteThroughNull)) << "the guard still catches faults after an exception left it";
  EXPECT_TRUE(CallGuarded([] {}));
}

// A call that is left, whichever way, leaves the thread as outside it as
// before: a fault after it must not land in the frame of a call that has
// ended.
TEST(CallGuarded, EveryWayOutLeavesTheThreadWhereItWas) {
  EXPECT_FALSE(InsideGuardedCall());
  bool Inside = false;
  EXPECT_TRUE(CallGuarded([&Inside] { Inside = InsideGuardedCall(); }));
  EXPECT_TRUE(Inside);
  EXPECT_FALSE(InsideGuardedCall()) << "returned";
  EXPECT_FALSE(CallGuarded(WriteThroughNull));
  EXPECT_FALSE(InsideGuardedCall()) << "faulted";
  EXPECT_THROW(CallGuarded([] { throw std::runtime_error("passes"); }), std::runtime_error);
  // (Left pointing into the dead frame, the next fault would jump into it.)
  ASSERT_FALSE(InsideGuardedCall()) << "a C++ exception passed";

  // Inside an outer call, the inner call's exception leaves the outer one in
  // place: a later fault ends the outer call, not the dead inner one.
  bool Caught = false, StillInside = false;
  EXPECT_FALSE(CallGuarded([&] {
    try {
      CallGuarded([] { throw std::runtime_error("inner"); });
    } catch (const std::runtime_error&) {
      Caught = true;
    }
    StillInside = InsideGuardedCall();
    WriteThroughNull();
  }));
  EXPECT_TRUE(Caught);
  EXPECT_TRUE(StillInside);
  EXPECT_FALSE(InsideGuardedCall()) << "the outer call faulted";
}

}  // namespace
