// A writer in a child process killed at random moments, for the tests that check what a store
// holds after any kill.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace qlx::testing {

class KillHarness {
 public:
  // Tells the harness the writer's first write is complete.
  using Ready = std::function<void()>;

  explicit KillHarness(int maxDelayUs) : rng_(20261206), delayUs_(0, maxDelayUs) {}

  // Forks a child that runs write (which writes forever and never returns), waits until it calls
  // ready when waitReady (so that writes surely happen however slow the build; otherwise the kill
  // may strike before the first one), then kills it after a random delay. Fails unless the child
  // died by that kill.
  ::testing::AssertionResult killDuring(bool waitReady,
                                        const std::function<void(const Ready& ready)>& write);

 private:
  std::mt19937 rng_;
  std::uniform_int_distribution<int> delayUs_;
};

}  // namespace qlx::testing
