// Process handling for the end-to-end test: Xvfb tells the display number it chose through a
// pipe (-displayfd); programs get DISPLAY set; screenshots come from `import` as PPM.
#include "x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace qlx::e2e {

namespace {

using Clock = std::chrono::steady_clock;

bool timedOut(Clock::time_point start, int timeoutMs) {
  return Clock::now() - start > std::chrono::milliseconds(timeoutMs);
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits for pid up to timeoutMs, then kills it; its exit status as waitpid gives it, or -1.
int reap(pid_t pid, int timeoutMs) {
  const auto start = Clock::now();
  int status = 0;
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return status;
    if (r < 0) return -1;
    if (timedOut(start, timeoutMs)) break;
    pause(10);
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

}  // namespace

uint32_t Image::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  const auto i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
}

bool Image::savePng(const std::string& path) const {
  const std::string ppm = path + ".ppm";
  {
    std::ofstream out(ppm, std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    if (!out) return false;
  }
  const int rc = std::system(("convert '" + ppm + "' '" + path + "' 2>/dev/null").c_str());
  std::remove(ppm.c_str());
  return rc == 0;
}

Image parsePpm(const std::string& bytes) {
  Image img;
  std::size_t pos = 0;
  // The header: magic, width, height, maximum, each after blanks or comments.
  auto token = [&]() -> std::string {
    for (;;) {
      while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
      if (pos < bytes.size() && bytes[pos] == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
        continue;
      }
      break;
    }
    const std::size_t start = pos;
    while (pos < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
    return bytes.substr(start, pos - start);
  };
  if (token() != "P6") return img;
  const int w = std::atoi(token().c_str());
  const int h = std::atoi(token().c_str());
  const int max = std::atoi(token().c_str());
  ++pos;  // the one blank before the pixels
  const std::size_t need = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3;
  if (w <= 0 || h <= 0 || max != 255 || bytes.size() < pos + need) return img;
  img.width = w;
  img.height = h;
  const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(pos);
  img.rgb.assign(first, first + static_cast<std::ptrdiff_t>(need));
  return img;
}

bool toolsAvailable() {
  return std::system("{ command -v Xvfb && command -v xdotool && command -v import && command -v convert; }"
                     " >/dev/null 2>&1") == 0;
}

XSession::XSession(int width, int height, int dpi) {
  int fds[2];
  if (pipe(fds) != 0) return;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  const std::string fd = std::to_string(fds[1]);
  const std::string dots = std::to_string(dpi);
  pid_ = fork();
  if (pid_ == 0) {
    close(fds[0]);
    const int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) dup2(devnull, 2), dup2(devnull, 1);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-dpi", dots.c_str(),
           "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    return;
  }
  // The display number, followed by a line feed, once the server is ready.
  std::string number;
  const auto start = Clock::now();
  while (!timedOut(start, 10000)) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    char c = 0;
    if (read(fds[0], &c, 1) != 1) break;
    if (c == '\n') {
      display_ = ":" + number;
      break;
    }
    number += c;
  }
  close(fds[0]);
}

XSession::~XSession() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  reap(pid_, 3000);
}

std::string XSession::run(const std::string& command, int* exitCode) const {
  const std::string full = "DISPLAY=" + display_ + " " + command;
  std::string out;
  FILE* pipe = popen(full.c_str(), "r");
  if (pipe == nullptr) {
    if (exitCode) *exitCode = -1;
    return out;
  }
  char buffer[65536];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int status = pclose(pipe);
  if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

unsigned long XSession::waitForWindow(const std::string& nameRegex, int timeoutMs) const {
  const auto start = Clock::now();
  do {
    int rc = 0;
    const std::string ids = run("xdotool search --onlyvisible --name '" + nameRegex + "' 2>/dev/null", &rc);
    if (rc == 0 && !ids.empty()) return std::strtoul(ids.c_str(), nullptr, 10);
    pause(50);
  } while (!timedOut(start, timeoutMs));
  return 0;
}

bool XSession::waitForNoWindow(const std::string& nameRegex, int timeoutMs) const {
  const auto start = Clock::now();
  do {
    int rc = 0;
    run("xdotool search --onlyvisible --name '" + nameRegex + "' >/dev/null 2>&1", &rc);
    if (rc != 0) return true;
    pause(50);
  } while (!timedOut(start, timeoutMs));
  return false;
}

XSession::Geometry XSession::geometry(unsigned long window) const {
  // Lines of NAME=value.
  std::istringstream in(run("xdotool getwindowgeometry --shell " + std::to_string(window)));
  Geometry g;
  for (std::string line; std::getline(in, line);) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    if (key == "X") g.x = value;
    if (key == "Y") g.y = value;
    if (key == "WIDTH") g.width = value;
    if (key == "HEIGHT") g.height = value;
  }
  return g;
}

Image XSession::screenshot(unsigned long window) const {
  // import can wait forever on a window that has just gone away: it gets 20 seconds.
  return parsePpm(run("timeout 20 import -window " + std::to_string(window) + " -depth 8 ppm:- 2>/dev/null"));
}

bool XSession::sendClose(unsigned long window) const {
  Display* d = XOpenDisplay(display_.c_str());
  if (d == nullptr) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(d, window, False, NoEventMask, &event) != 0;
  XFlush(d);
  XCloseDisplay(d);
  return sent;
}

Program::Program(const XSession& session, const std::string& path, const std::string& outputFile,
                 const std::vector<std::pair<std::string, std::string>>& environment)
    : output_(outputFile) {
  pid_ = fork();
  if (pid_ == 0) {
    setenv("DISPLAY", session.display().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (const auto& [name, value] : environment) setenv(name.c_str(), value.c_str(), 1);
    const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open((outputFile + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) dup2(out, 1);
    if (err >= 0) dup2(err, 2);
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

Program::~Program() {
  if (pid_ > 0) reap(pid_, 0);
}

bool Program::running() const {
  if (pid_ <= 0) return false;
  // WNOWAIT leaves an ended program to be reaped by wait(), which still gives its exit code.
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
  return info.si_pid == 0;
}

std::vector<std::string> Program::lines() const {
  std::ifstream in(output_);
  std::vector<std::string> all;
  for (std::string line; std::getline(in, line);) all.push_back(line);
  return all;
}

bool Program::waitForLine(const std::string& line, int timeoutMs) const {
  const auto start = Clock::now();
  do {
    for (const std::string& l : lines())
      if (l == line) return true;
    pause(20);
  } while (!timedOut(start, timeoutMs));
  return false;
}

int Program::wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  const int status = reap(pid_, timeoutMs);
  pid_ = -1;
  return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qlx::e2e
