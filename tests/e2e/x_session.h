// A virtual X display of the test's own (Xvfb on a free display number) and the tools that
// drive it: programs started on it with their output captured, xdotool for windows, pointer
// and keys, ImageMagick's import for screenshots.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qlx::e2e {

// A screenshot: 8-bit RGB, row by row.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;
  // 0xRRGGBB at (x, y); 0xFFFFFFFF outside.
  uint32_t at(int x, int y) const;
  // Writes the image as PNG (through a PPM and ImageMagick); false on failure.
  bool savePng(const std::string& path) const;
};

// Reads a binary PPM (P6, maximum 255); an empty image when the bytes are not one.
Image parsePpm(const std::string& bytes);

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

// A program started on the display, its standard output going to a file the test reads.
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
  // Waits until a line equal to line has been written; false on timeout.
  bool waitForLine(const std::string& line, int timeoutMs = 10000) const;
  // Waits for the program to end: its exit code, -1 on a timeout (then it is killed) or a
  // signal.
  int wait(int timeoutMs = 5000);

 private:
  pid_t pid_ = -1;
  std::string output_;
};

}  // namespace qlx::e2e
