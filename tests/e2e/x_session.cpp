// Process handling for the end-to-end test: Xvfb tells the display number it chose through a
// pipe (-displayfd); programs get DISPLAY set; screenshots come from `import` as PPM.
#include "x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace qlx::e2e {

namespace {

using Clock = std::chrono::steady_clock;

// Under AddressSanitizer the programs draw in software: the GL driver leaks from a library it
// unloads at exit, which no suppression can name. GCC tells with __SANITIZE_ADDRESS__, clang
// through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define QLX_E2E_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QLX_E2E_SANITIZED 1
#endif
#endif
#ifndef QLX_E2E_SANITIZED
#define QLX_E2E_SANITIZED 0
#endif

// Waits for pid up to timeoutMs, then kills it; its exit status as waitpid gives it, or -1.
int reap(pid_t pid, int timeoutMs) {
  int status = 0;
  pid_t r = 0;
  pollUntil([&] { return (r = waitpid(pid, &status, WNOHANG)) != 0; }, timeoutMs, 10);
  if (r == pid) return status;
  if (r < 0) return -1;
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

// A binary PPM (P6, maximum 255) as import writes it; an empty image when the bytes are not one.
Image parsePpm(const std::string& bytes) {
  Image img;
  int w = 0, h = 0, max = 0, header = 0;
  if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &w, &h, &max, &header) != 3) return img;
  const std::size_t pos = static_cast<std::size_t>(header) + 1;  // one blank before the pixels
  const std::size_t need = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3;
  if (w <= 0 || h <= 0 || max != 255 || bytes.size() < pos + need) return img;
  img.width = w;
  img.height = h;
  img.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                 bytes.begin() + static_cast<std::ptrdiff_t>(pos + need));
  return img;
}

}  // namespace

std::string hex(uint32_t c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06X", c);
  return buf;
}

bool near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)) > tolerance) return false;
  return true;
}

bool pollUntil(const std::function<bool()>& done, int timeoutMs, int stepMs) {
  const auto start = Clock::now();
  for (;;) {
    if (done()) return true;
    if (Clock::now() - start > std::chrono::milliseconds(timeoutMs)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
  }
}

uint32_t Image::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  const auto i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)) *
                 3;
  return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
}

int countIn(const Image& img, const Box& b, const std::function<bool(uint32_t)>& test) {
  int n = 0;
  for (uint32_t c : pixelsOf(img, b)) n += test(c);
  return n;
}

std::vector<uint32_t> pixelsOf(const Image& img, const Box& b) {
  std::vector<uint32_t> out;
  for (int y = b.y; y < b.y + b.height; ++y)
    for (int x = b.x; x < b.x + b.width; ++x) out.push_back(img.at(x, y));
  return out;
}

bool Image::savePng(const std::string& path) const {
  FILE* convert = popen(("convert ppm:- '" + path + "' 2>/dev/null").c_str(), "w");
  if (convert == nullptr) return false;
  std::fprintf(convert, "P6\n%d %d\n255\n", width, height);
  std::fwrite(rgb.data(), 1, rgb.size(), convert);
  return pclose(convert) == 0;
}

bool toolsAvailable() {
  return std::system(
             "{ command -v Xvfb && command -v xdotool && command -v import && command -v convert; }"
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
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-dpi",
           dots.c_str(), "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
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
  while (Clock::now() - start < std::chrono::seconds(10)) {
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

std::vector<unsigned long> XSession::windows(const std::string& nameRegex) const {
  std::istringstream in(run("xdotool search --onlyvisible --name '" + nameRegex + "' 2>/dev/null"));
  std::vector<unsigned long> ids;
  for (unsigned long id = 0; in >> id;) ids.push_back(id);
  return ids;
}

unsigned long XSession::waitForWindow(const std::string& nameRegex, int timeoutMs) const {
  std::vector<unsigned long> ids;
  pollUntil([&] { return !(ids = windows(nameRegex)).empty(); }, timeoutMs);
  return ids.empty() ? 0 : ids[0];
}

bool XSession::waitForNoWindow(const std::string& nameRegex, int timeoutMs) const {
  return pollUntil([&] { return windows(nameRegex).empty(); }, timeoutMs);
}

XSession::Geometry XSession::geometry(unsigned long window) const {
  Geometry g;
  std::sscanf(run("xdotool getwindowgeometry --shell " + std::to_string(window)).c_str(),
              "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &g.x, &g.y, &g.width, &g.height);
  return g;
}

Image XSession::screenshot(unsigned long window) const {
  // import can wait forever on a window that has just gone away: it gets 20 seconds.
  return parsePpm(
      run("timeout 20 import -window " + std::to_string(window) + " -depth 8 ppm:- 2>/dev/null"));
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
#if QLX_E2E_SANITIZED
    setenv("SDL_RENDER_DRIVER", "software", 1);
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 1);
#endif
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

std::vector<std::string> Program::linesStarting(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& l : lines())
    if (l.rfind(prefix, 0) == 0) out.push_back(l);
  return out;
}

std::string Program::errors() const {
  std::ifstream in(output_ + ".err");
  std::stringstream s;
  s << in.rdbuf();
  return "the program's errors: " + s.str();
}

bool Program::waitForLine(const std::string& line, int timeoutMs) const {
  return pollUntil(
      [&] {
        const std::vector<std::string> all = lines();
        return std::find(all.begin(), all.end(), line) != all.end();
      },
      timeoutMs, 20);
}

int Program::wait(int timeoutMs) {
  if (pid_ <= 0) return -1;
  const int status = reap(pid_, timeoutMs);
  pid_ = -1;
  return status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Program::killNow() {
  if (pid_ <= 0) return false;
  kill(pid_, SIGKILL);
  int status = 0;
  const bool killed =
      waitpid(pid_, &status, 0) == pid_ && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  pid_ = -1;
  return killed;
}

bool XTest::startDisplay(int width, int height, int dpi) {
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  home_ = std::filesystem::temp_directory_path() /
          ("qlx-e2e-" + std::to_string(::getpid()) + "-" + name);
  std::filesystem::remove_all(home_);
  std::filesystem::create_directories(home_);
  std::filesystem::create_directories(QLX_SHOT_DIR);
  session_ = std::make_unique<XSession>(width, height, dpi);
  if (!session_->ok()) ADD_FAILURE() << "Xvfb did not start";
  return session_->ok();
}

void XTest::TearDown() {
  program_.reset();
  session_.reset();
  if (!home_.empty()) std::filesystem::remove_all(home_);
}

bool XTest::startProgram(const std::string& path,
                         const std::vector<std::pair<std::string, std::string>>& environment) {
  program_.reset();
  program_ =
      std::make_unique<Program>(*session_, path, (home_ / "program.out").string(), environment);
  if (!program_->started()) ADD_FAILURE() << path << " did not start";
  return program_->started();
}

Image XTest::shotWhen(unsigned long window, int width, int height,
                      const std::function<bool(const Image&)>& ready, int timeoutMs) {
  Image img;
  pollUntil(
      [&] {
        img = session_->screenshot(window);
        return (img.width == width && img.height == height && ready(img)) || !program_->running();
      },
      timeoutMs, 100);
  return img;
}

void XTest::save(const Image& img, const std::string& name) {
  EXPECT_TRUE(img.savePng(std::string(QLX_SHOT_DIR) + "/" + name)) << name;
}

void XTest::click(unsigned long window, int x, int y, int button) {
  session_->run("xdotool mousemove --window " + std::to_string(window) + " " + std::to_string(x) +
                " " + std::to_string(y) + " click " + std::to_string(button));
}

void XTest::key(const std::string& names) { session_->run("xdotool key " + names); }

}  // namespace qlx::e2e
