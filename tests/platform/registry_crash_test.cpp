// A child process saves a full set of values in a loop and is killed at random moments: after
// every kill the store must open cleanly and hold one complete set, all of one generation.
#include <gtest/gtest.h>
#include <unistd.h>

#include "kill_harness.h"
#include "platform/registry.h"
#include "temp_folder.h"

namespace qlx {
namespace {

constexpr int kValues = 20;

std::string valueName(int i) { return "VALUE" + std::to_string(i); }

// Value i of generation g: the generation number spelled out, padded to a size of its own.
std::string valueBytes(int i, uint32_t g) {
  return std::to_string(g) + std::string(static_cast<size_t>(i) * 13, ':');
}

// Saves generation after generation from `from` on, calling ready after each complete save.
void saveForever(const std::string& path, uint32_t from, const testing::KillHarness::Ready& ready) {
  std::unique_ptr<Registry> reg;
  std::string notice;
  if (!openRegistry(path, &reg, &notice).ok()) _exit(3);
  for (uint32_t g = from;; ++g) {
    HKEY sw = nullptr, app = nullptr;
    if (reg->RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &sw) != ERROR_SUCCESS)
      _exit(4);
    reg->RegCreateKeyExA(sw, "Tarnwick\\Quillorix\\1.0", 0, "USERDATA", 0, KEY_ALL_ACCESS, nullptr,
                         &app, nullptr);
    for (int i = 0; i < kValues; ++i) {
      const std::string bytes = valueBytes(i, g);
      reg->RegSetValueExA(app, valueName(i).c_str(), 0, i % 2 ? REG_SZ : REG_BINARY,
                          reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
    }
    reg->RegCloseKey(app);
    reg->RegCloseKey(sw);
    ready();
  }
}

// The generation every value carries (0 when nothing was saved yet), or a failure.
::testing::AssertionResult oneGeneration(const std::string& path, uint32_t* generation) {
  std::unique_ptr<Registry> reg;
  std::string notice;
  const Status st = openRegistry(path, &reg, &notice);
  if (!st.ok() || !notice.empty())
    return ::testing::AssertionFailure()
           << "the store did not open cleanly: " << st.message() << notice;
  HKEY app = nullptr;
  const LONG rc = reg->RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tarnwick\\Quillorix\\1.0", 0,
                                     KEY_ALL_ACCESS, &app);
  *generation = 0;
  if (rc == ERROR_FILE_NOT_FOUND) return ::testing::AssertionSuccess();
  if (rc != ERROR_SUCCESS) return ::testing::AssertionFailure() << "open failed: " << rc;
  for (int i = 0; i < kValues; ++i) {
    char buf[512];
    DWORD n = sizeof buf;
    const LONG got = reg->RegQueryValueExA(app, valueName(i).c_str(), nullptr, nullptr,
                                           reinterpret_cast<uint8_t*>(buf), &n);
    const std::string value(buf, got == ERROR_SUCCESS ? n : 0);  // empty when missing
    if (i == 0) *generation = static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
    if (value != valueBytes(i, *generation))
      return ::testing::AssertionFailure() << "a mixed set: " << valueName(i) << " holds " << value
                                           << " beside generation " << *generation;
  }
  return ::testing::AssertionSuccess();
}

TEST(StoreCrash, KillsAtRandomMomentsLeaveACompleteOldOrNewSet) {
  testing::TempFolder dir;
  const std::string path = dir.file("settings.db");
  testing::KillHarness harness(30000);
  uint32_t last = 0;
  int completed = 0;  // kills after which a newer set was found
  for (int k = 0; k < 100; ++k) {
    // Every other kill waits for one complete save; the others may strike while the store is
    // still being opened.
    ASSERT_TRUE(harness.killDuring(
        k % 2 == 0,
        [&](const testing::KillHarness::Ready& ready) { saveForever(path, last + 1, ready); }))
        << "kill " << k;
    uint32_t g = 0;
    ASSERT_TRUE(oneGeneration(path, &g)) << "after kill " << k;
    // Each child goes on from the last generation seen: a committed save never goes back.
    ASSERT_GE(g, last) << "after kill " << k;
    completed += g > last;
    last = g;
  }
  EXPECT_GT(completed, 10) << "too few saves completed between kills: the test proved little";
}

}  // namespace
}  // namespace qlx
