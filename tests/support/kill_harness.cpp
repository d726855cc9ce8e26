#include "kill_harness.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace qlx::testing {

::testing::AssertionResult KillHarness::killDuring(
    bool waitReady, const std::function<void(const Ready& ready)>& write) {
  int fds[2];
  if (pipe(fds) != 0) return ::testing::AssertionFailure() << "no pipe";
  const pid_t child = fork();
  if (child < 0) return ::testing::AssertionFailure() << "no fork";
  if (child == 0) {
    close(fds[0]);
    bool told = false;
    write([&] {
      if (!told && ::write(fds[1], "s", 1) != 1) _exit(5);
      told = true;
    });
    _exit(0);
  }
  close(fds[1]);
  char byte = 0;
  const bool ready = !waitReady || read(fds[0], &byte, 1) == 1;
  close(fds[0]);
  if (ready) std::this_thread::sleep_for(std::chrono::microseconds(delayUs_(rng_)));
  kill(child, SIGKILL);
  int status = 0;
  if (waitpid(child, &status, 0) != child) return ::testing::AssertionFailure() << "lost the child";
  if (!ready) return ::testing::AssertionFailure() << "the writer never finished a first write";
  if (!WIFSIGNALED(status))
    return ::testing::AssertionFailure()
           << "the writer stopped by itself with " << WEXITSTATUS(status);
  return ::testing::AssertionSuccess();
}

}  // namespace qlx::testing
