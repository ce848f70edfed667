// The picture pipeline with stand-in sources: the order and pace of its
// frames, the hold and check of a pass's first frame at its tick, errors, and
// an end that does not wait for a source that blocks.
#include "core/FramePipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct TTestFrame {
  int Width = 0;
  int Height = 0;
  std::string Entry;
  bool Again = false;
  bool PassStart = false;
  std::string Error;
};

// What the test and its source share; outlives the pipeline's worker.
struct TSourceLog {
  std::mutex Lock;
  std::condition_variable Changed;
  std::vector<std::string> Prepared;  // every entry prepared, in order
  int Checks = 0;                     // PassStillCurrent calls
  bool PassChanged = false;           // what PassStillCurrent finds
  bool Block = false;                 // Prepare waits while this is set
  bool Blocked = false;               // a Prepare is waiting
  bool Throw = false;
  bool ThrowNonStandard = false;      // PassStillCurrent raises what no std::exception is
  bool KeptGone = false;              // what the worker kept alive was let go
  int SourcesAliveWhenKeptWent = -1;
  int SourcesAlive = 0;
};

// Passes of three entries: p1a p1b p1c, then p2a ... (each first entry
// begins a pass, but for the very first); a changed pass is "fresh".
class TTestSource : public TFrameSource<TTestFrame> {
 public:
  explicit TTestSource(std::shared_ptr<TSourceLog> Log) : Log(std::move(Log)) {
    std::lock_guard<std::mutex> Guard(this->Log->Lock);
    ++this->Log->SourcesAlive;
  }
  ~TTestSource() override {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    --Log->SourcesAlive;
    Log->Changed.notify_all();
  }
  void Prepare(TTestFrame& Frame) override {
    std::unique_lock<std::mutex> Guard(Log->Lock);
    Log->Blocked = Log->Block;
    Log->Changed.notify_all();
    Log->Changed.wait(Guard, [&] { return !Log->Block; });
    Log->Blocked = false;
    if (Log->Throw) throw std::runtime_error("File access denied");
    if (!Frame.Again) {
      if (Taken == 3) {
        Taken = 0;
        ++Pass;
        Frame.PassStart = true;
      }
      Frame.Entry = Name + std::to_string(Pass) + static_cast<char>('a' + Taken++);
    }
    Log->Prepared.push_back(Frame.Entry + "@" + std::to_string(Frame.Width));
    Log->Changed.notify_all();
  }
  bool PassStillCurrent() override {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    ++Log->Checks;
    if (Log->ThrowNonStandard) throw 42;
    if (!Log->PassChanged) return true;
    Name = "fresh";
    Pass = 1;
    Taken = 0;
    return false;
  }

 private:
  std::shared_ptr<TSourceLog> Log;
  std::string Name = "p";
  int Pass = 1;
  int Taken = 0;
};

class TFramePipelineTest : public ::testing::Test {
 protected:
  std::shared_ptr<TSourceLog> Log = std::make_shared<TSourceLog>();
  std::mutex ReadyLock;
  std::condition_variable ReadyWake;
  int ReadyCalls = 0;

  std::unique_ptr<TFramePipeline<TTestFrame>> Start() {
    auto SharedLog = Log;
    return std::make_unique<TFramePipeline<TTestFrame>>(
        [SharedLog](const std::atomic<bool>&) { return std::make_unique<TTestSource>(SharedLog); },
        [this] {
          std::lock_guard<std::mutex> Guard(ReadyLock);
          ++ReadyCalls;
          ReadyWake.notify_all();
        });
  }
  static bool Ask(TFramePipeline<TTestFrame>& Pipeline, int Width = 100) {
    auto Frame = std::make_unique<TTestFrame>();
    Frame->Width = Width;
    return Pipeline.Request(Frame);
  }
  // The next frame, waited for up to Wait.
  std::unique_ptr<TTestFrame> Await(TFramePipeline<TTestFrame>& Pipeline, std::chrono::milliseconds Wait = 5s) {
    std::unique_lock<std::mutex> Guard(ReadyLock);
    std::unique_ptr<TTestFrame> Frame;
    ReadyWake.wait_for(Guard, Wait, [&] { return (Frame = Pipeline.Take()) != nullptr; });
    return Frame;
  }
  std::vector<std::string> Prepared() {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    return Log->Prepared;
  }
};

TEST_F(TFramePipelineTest, PreparesOneFrameAtATimeInTheQueuesOrder) {
  auto Pipeline = Start();
  EXPECT_EQ(Pipeline->Take(), nullptr) << "nothing asked for, nothing prepared";
  ASSERT_TRUE(Ask(*Pipeline));
  EXPECT_FALSE(Ask(*Pipeline)) << "a second frame is refused while one is in the pipeline";
  std::vector<std::string> Shown;
  for (int I = 0; I < 3; ++I) {
    std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
    ASSERT_NE(Frame, nullptr);
    EXPECT_TRUE(Frame->Error.empty());
    Shown.push_back(Frame->Entry);
    EXPECT_FALSE(Pipeline->Busy()) << "nothing is prepared beyond the frame handed in";
    EXPECT_EQ(Prepared().size(), Shown.size());
    EXPECT_TRUE(Pipeline->Request(Frame)) << "the frame taken goes back in";
  }
  EXPECT_EQ(Shown, (std::vector<std::string>{"p1a", "p1b", "p1c"}));
}

TEST_F(TFramePipelineTest, APassesFirstFrameWaitsForItsTickAndIsShownWhenThePassHolds) {
  auto Pipeline = Start();
  for (int I = 0; I < 3; ++I) {
    ASSERT_TRUE(Ask(*Pipeline));
    ASSERT_NE(Await(*Pipeline), nullptr);
  }
  ASSERT_TRUE(Ask(*Pipeline));
  EXPECT_EQ(Await(*Pipeline, 300ms), nullptr) << "held until the tick";
  EXPECT_EQ(Prepared().back(), "p2a@100") << "but prepared ahead";
  Pipeline->Tick();
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Entry, "p2a");
  EXPECT_TRUE(Frame->PassStart);
  EXPECT_EQ(Log->Checks, 1);
  EXPECT_EQ(Prepared().size(), 4u) << "prepared once";

  // A tick that comes before the frame is ready counts too.
  for (int I = 0; I < 2; ++I) {
    ASSERT_TRUE(Pipeline->Request(Frame));
    Frame = Await(*Pipeline);
    ASSERT_NE(Frame, nullptr);
  }
  ASSERT_TRUE(Pipeline->Request(Frame));
  Pipeline->Tick();
  Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Entry, "p3a");
}

TEST_F(TFramePipelineTest, APassChangedBeforeItsTickIsPreparedAfreshAndTheOldFrameNeverShown) {
  auto Pipeline = Start();
  for (int I = 0; I < 3; ++I) {
    ASSERT_TRUE(Ask(*Pipeline));
    ASSERT_NE(Await(*Pipeline), nullptr);
  }
  ASSERT_TRUE(Ask(*Pipeline));
  EXPECT_EQ(Await(*Pipeline, 200ms), nullptr);
  {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    Log->PassChanged = true;  // the settings or the group changed meanwhile
  }
  Pipeline->Tick();
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Entry, "fresh1a");
  EXPECT_TRUE(Frame->PassStart);
  EXPECT_EQ(Prepared(), (std::vector<std::string>{"p1a@100", "p1b@100", "p1c@100", "p2a@100", "fresh1a@100"}));
  ASSERT_TRUE(Pipeline->Request(Frame));
  Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Entry, "fresh1b") << "the fresh pass goes on without another check";
  EXPECT_EQ(Log->Checks, 1);
}

TEST_F(TFramePipelineTest, AFrameAskedForAgainKeepsItsEntryAndTakesItsNewSize) {
  auto Pipeline = Start();
  ASSERT_TRUE(Ask(*Pipeline));
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  Frame->Again = true;
  Frame->Width = 300;
  ASSERT_TRUE(Pipeline->Request(Frame));
  Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Entry, "p1a");
  Frame->Again = false;
  ASSERT_TRUE(Pipeline->Request(Frame));
  Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Entry, "p1b") << "nothing was taken from the queue for the again";
  EXPECT_EQ(Prepared(), (std::vector<std::string>{"p1a@100", "p1a@300", "p1b@300"}));
}

TEST_F(TFramePipelineTest, AnErrorComesBackWithItsFrameAndTheNextFrameIsPrepared) {
  auto Pipeline = Start();
  Log->Throw = true;
  ASSERT_TRUE(Ask(*Pipeline));
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Error, "File access denied");
  {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    Log->Throw = false;
  }
  ASSERT_TRUE(Pipeline->Request(Frame));
  Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Error, "");
  EXPECT_EQ(Frame->Entry, "p1a");
}

TEST_F(TFramePipelineTest, EndingDoesNotWaitForASourceThatBlocksAndTheWorkerEndsLater) {
  auto Pipeline = Start();
  ASSERT_TRUE(Ask(*Pipeline));
  ASSERT_NE(Await(*Pipeline), nullptr);
  {
    std::unique_lock<std::mutex> Guard(Log->Lock);
    Log->Block = true;  // the next read never returns
  }
  ASSERT_TRUE(Ask(*Pipeline));
  {
    std::unique_lock<std::mutex> Guard(Log->Lock);
    ASSERT_TRUE(Log->Changed.wait_for(Guard, 5s, [&] { return Log->Blocked; })) << "the read is under way";
  }
  const auto Before = std::chrono::steady_clock::now();
  Pipeline.reset();
  const auto Took = std::chrono::steady_clock::now() - Before;
  EXPECT_LT(Took, 1s) << "the end does not wait for the read";
  {
    std::unique_lock<std::mutex> Guard(Log->Lock);
    EXPECT_EQ(Log->SourcesAlive, 1) << "the worker still holds its source";
    Log->Block = false;
    Log->Changed.notify_all();
    EXPECT_TRUE(Log->Changed.wait_for(Guard, 5s, [&] { return Log->SourcesAlive == 0; }))
        << "once the read returns, the worker ends and lets its source go";
  }
}

TEST_F(TFramePipelineTest, EndingAnIdleWorkerLetsItsSourceGoAtOnce) {
  auto Pipeline = Start();
  ASSERT_TRUE(Ask(*Pipeline));
  ASSERT_NE(Await(*Pipeline), nullptr);
  Pipeline.reset();
  std::lock_guard<std::mutex> Guard(Log->Lock);
  EXPECT_EQ(Log->SourcesAlive, 0);
}

TEST_F(TFramePipelineTest, ATickThatCameBeforeThePassesFirstFrameWasAskedForCountsForIt) {
  auto Pipeline = Start();
  for (int I = 0; I < 3; ++I) {
    ASSERT_TRUE(Ask(*Pipeline));
    ASSERT_NE(Await(*Pipeline), nullptr);
  }
  // The window is due already when it hands its frame in (the frame it took
  // could not be shown): the pass's first frame is not held a whole
  // interval for the next tick.
  Pipeline->Tick();
  ASSERT_TRUE(Ask(*Pipeline));
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr) << "held although its tick had come";
  EXPECT_EQ(Frame->Entry, "p2a");

  // A frame taken answers its tick: the next pass's first frame waits again.
  for (int I = 0; I < 2; ++I) {
    ASSERT_TRUE(Pipeline->Request(Frame));
    Frame = Await(*Pipeline);
    ASSERT_NE(Frame, nullptr);
  }
  ASSERT_TRUE(Pipeline->Request(Frame));
  EXPECT_EQ(Await(*Pipeline, 300ms), nullptr) << "p3a waits for a tick of its own";
}

TEST_F(TFramePipelineTest, APassesFirstFrameAskedForAgainKeepsItsPassStartAndIsNotHeldAgain) {
  auto Pipeline = Start();
  for (int I = 0; I < 3; ++I) {
    ASSERT_TRUE(Ask(*Pipeline));
    ASSERT_NE(Await(*Pipeline), nullptr);
  }
  ASSERT_TRUE(Ask(*Pipeline));
  Pipeline->Tick();
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  ASSERT_TRUE(Frame->PassStart);
  // Taken at a size no longer wanted: asked for again at the new one.
  Frame->Again = true;
  Frame->Width = 300;
  ASSERT_TRUE(Pipeline->Request(Frame));
  Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr) << "its pass was confirmed already";
  EXPECT_EQ(Frame->Entry, "p2a");
  EXPECT_TRUE(Frame->PassStart) << "the window still learns that a pass begins with it";
  EXPECT_EQ(Log->Checks, 1);
}

TEST_F(TFramePipelineTest, AnyErrorOfThePassCheckComesBackWithItsFrame) {
  auto Pipeline = Start();
  for (int I = 0; I < 3; ++I) {
    ASSERT_TRUE(Ask(*Pipeline));
    ASSERT_NE(Await(*Pipeline), nullptr);
  }
  {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    Log->ThrowNonStandard = true;
  }
  ASSERT_TRUE(Ask(*Pipeline));
  Pipeline->Tick();
  std::unique_ptr<TTestFrame> Frame = Await(*Pipeline);
  ASSERT_NE(Frame, nullptr);
  EXPECT_EQ(Frame->Error, "Unknown error");
}

TEST_F(TFramePipelineTest, OnceItsEndReturnsReadyIsNeitherRunningNorEverCalledAgain) {
  // Ready posts to the owner's window, which is destroyed once the pipeline
  // has ended: a Ready still running then, or called later, would post to a
  // window that is gone or to another that took its handle.
  std::mutex Lock;
  std::condition_variable Changed;
  bool InReady = false, LetGo = false, Ended = false;
  int Calls = 0;
  auto SharedLog = Log;
  auto Pipeline = std::make_unique<TFramePipeline<TTestFrame>>(
      [SharedLog](const std::atomic<bool>&) { return std::make_unique<TTestSource>(SharedLog); },
      [&] {
        std::unique_lock<std::mutex> Guard(Lock);
        ++Calls;
        InReady = true;
        Changed.notify_all();
        Changed.wait(Guard, [&] { return LetGo; });
        InReady = false;
      });
  ASSERT_TRUE(Ask(*Pipeline));
  std::thread Ender;
  {
    std::unique_lock<std::mutex> Guard(Lock);
    ASSERT_TRUE(Changed.wait_for(Guard, 5s, [&] { return InReady; }));
    Ender = std::thread([&] {
      Pipeline.reset();
      std::lock_guard<std::mutex> Ending(Lock);
      Ended = true;
      Changed.notify_all();
    });
    EXPECT_FALSE(Changed.wait_for(Guard, 1s, [&] { return Ended; })) << "the end returned while Ready ran";
    LetGo = true;
    Changed.notify_all();
    EXPECT_TRUE(Changed.wait_for(Guard, 5s, [&] { return Ended; }));
  }
  Ender.join();
  {
    std::unique_lock<std::mutex> Guard(Log->Lock);
    EXPECT_TRUE(Log->Changed.wait_for(Guard, 5s, [&] { return Log->SourcesAlive == 0; }));
  }
  std::lock_guard<std::mutex> Guard(Lock);
  EXPECT_EQ(Calls, 1);
}

TEST_F(TFramePipelineTest, WhatTheWorkerKeepsAliveIsLetGoLastWhenTheWorkerEnds) {
  // What it keeps alive (the caches its frames use) outlives the pipeline's
  // end while a read still blocks, and then the worker's source and frames.
  struct TKept {
    std::shared_ptr<TSourceLog> Log;
    ~TKept() {
      std::lock_guard<std::mutex> Guard(Log->Lock);
      Log->KeptGone = true;
      Log->SourcesAliveWhenKeptWent = Log->SourcesAlive;
      Log->Changed.notify_all();
    }
  };
  auto SharedLog = Log;
  auto Pipeline = std::make_unique<TFramePipeline<TTestFrame>>(
      [SharedLog](const std::atomic<bool>&) { return std::make_unique<TTestSource>(SharedLog); }, nullptr,
      std::shared_ptr<TKept>(new TKept{Log}));
  {
    std::lock_guard<std::mutex> Guard(Log->Lock);
    Log->Block = true;
  }
  ASSERT_TRUE(Ask(*Pipeline));
  {
    std::unique_lock<std::mutex> Guard(Log->Lock);
    ASSERT_TRUE(Log->Changed.wait_for(Guard, 5s, [&] { return Log->Blocked; }));
  }
  Pipeline.reset();
  std::unique_lock<std::mutex> Guard(Log->Lock);
  EXPECT_FALSE(Log->KeptGone) << "kept while the worker may still run";
  Log->Block = false;
  Log->Changed.notify_all();
  EXPECT_TRUE(Log->Changed.wait_for(Guard, 5s, [&] { return Log->KeptGone; })) << "let go when the worker ends";
  EXPECT_EQ(Log->SourcesAliveWhenKeptWent, 0) << "after the source";
}

}  // namespace
