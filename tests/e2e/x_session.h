// A virtual X display of the test's own (Xvfb on a free display number) and the tools that
// drive it: programs started on it with their output captured, xdotool for windows, pointer
// and keys, ImageMagick's import for screenshots.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi.h"

namespace qlx::e2e {

// Screenshot colours are 0xRRGGBB; the drawing kit's are 0x00BBGGRR.
inline uint32_t rgbOf(ColorRef c) {
  return uint32_t(redOf(c)) << 16 | uint32_t(greenOf(c)) << 8 | blueOf(c);
}
std::string hex(uint32_t c);
// True when every channel of a and b differs by at most tolerance.
bool near(uint32_t a, uint32_t b, int tolerance);
// Calls done every stepMs until it is true (true) or timeoutMs have passed (false).
bool pollUntil(const std::function<bool()>& done, int timeoutMs, int stepMs = 50);

// A screenshot: 8-bit RGB, row by row.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  // 0xRRGGBB at (x, y); 0xFFFFFFFF outside.
  uint32_t at(int x, int y) const;
  // Writes the image as PNG (through ImageMagick); false on failure.
  bool savePng(const std::string& path) const;
};

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  bool contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
};
// The pixels of a box that pass test.
int countIn(const Image& img, const Box& b, const std::function<bool(uint32_t)>& test);
// The pixels of a box, row by row, to compare two boxes' pictures.
std::vector<uint32_t> pixelsOf(const Image& img, const Box& b);

// True when every command the session needs is on the PATH.
bool toolsAvailable();

class XSession {
 public:
  // Starts Xvfb with one screen of width × height × 24 bits at dpi dots per inch.
  XSession(int width, int height, int dpi);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool ok() const { return !display_.empty(); }
  const std::string& display() const { return display_; }

  // Runs a shell command on this display; its standard output, and its exit code if asked.
  std::string run(const std::string& command, int* exitCode = nullptr) const;

  // The visible windows whose name matches the regular expression.
  std::vector<unsigned long> windows(const std::string& nameRegex) const;
  // The first visible window whose name matches the regular expression, waiting for it up to
  // timeoutMs; 0 if none appeared.
  unsigned long waitForWindow(const std::string& nameRegex, int timeoutMs = 10000) const;
  // Waits until no visible window's name matches; false on timeout.
  bool waitForNoWindow(const std::string& nameRegex, int timeoutMs = 5000) const;

  struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Geometry geometry(unsigned long window) const;
  Image screenshot(unsigned long window) const;
  // Sends WM_DELETE_WINDOW, as a window manager does when the close box is clicked.
  bool sendClose(unsigned long window) const;

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// A program started on the display, its standard output going to a file the test reads. Under
// AddressSanitizer it draws in software: Mesa's GL driver leaves allocations LeakSanitizer cannot
// attribute once the driver is unloaded at exit.
class Program {
 public:
  // environment: variables set for the program besides DISPLAY.
  Program(const XSession& session, const std::string& path, const std::string& outputFile,
          const std::vector<std::pair<std::string, std::string>>& environment = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return pid_ > 0; }
  // True until the program has ended (it is not reaped: wait() still gives its exit code).
  bool running() const;
  std::vector<std::string> lines() const;
  // The lines that start with prefix.
  std::vector<std::string> linesStarting(const std::string& prefix) const;
  // What the program wrote to its standard error, for failure messages.
  std::string errors() const;
  // Waits until a line equal to line has been written; false on timeout.
  bool waitForLine(const std::string& line, int timeoutMs = 10000) const;
  // Waits for the program to end: its exit code, -1 on a timeout (then it is killed) or a
  // signal.
  int wait(int timeoutMs = 5000);
  // Ends the program at once with SIGKILL, as a crash or a power cut would; true when the kill
  // is what ended it.
  bool killNow();

 private:
  pid_t pid_ = -1;
  std::string output_;
};

// The base of the end-to-end fixtures: a private display, one program on it at a time with its
// output in a temporary folder, and screenshots kept as PNG files in QLX_SHOT_DIR.
class XTest : public ::testing::Test {
 protected:
  // Starts Xvfb and makes home_; false, with a failure, when Xvfb did not start.
  bool startDisplay(int width, int height, int dpi);
  void TearDown() override;
  // Starts path on the display (ending the program before); false, with a failure, if it did not.
  bool startProgram(const std::string& path,
                    const std::vector<std::pair<std::string, std::string>>& environment);
  std::string errors() const { return program_ ? program_->errors() : ""; }
  // Screenshots of window until one of the given size passes ready, up to timeoutMs or the
  // program's end; the last one taken either way.
  Image shotWhen(unsigned long window, int width, int height,
                 const std::function<bool(const Image&)>& ready, int timeoutMs = 20000);
  void save(const Image& img, const std::string& name);
  // A click of the mouse button (1 left, 3 right) at (x, y) in window; keys as xdotool names them.
  void click(unsigned long window, int x, int y, int button = 1);
  void key(const std::string& names);

  std::unique_ptr<XSession> session_;
  std::unique_ptr<Program> program_;
  std::filesystem::path home_;
  unsigned long window_ = 0;
};

}  // namespace qlx::e2e
