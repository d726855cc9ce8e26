// HeadlessBackend: windows kept in memory for tests and tools. The test injects input, drives
// the timers, answers modal windows with a script and reads back what was shown, played and
// opened; no display is needed.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/window.h"

namespace qlx {

class HeadlessBackend : public Backend {
 public:
  // Windows drawn here use real fonts unless another engine was installed first.
  HeadlessBackend();

  struct Message {
    std::string text;
    std::string title;
  };

  // Backend.
  void showWindow(Window& window) override;
  void hideWindow(Window& window) override;
  void present(Window& window) override;
  void timerChanged(Window& window) override;
  void runModal(Window& window) override;
  void run() override {}
  void messageBox(const std::string& text, const std::string& title) override;
  void playSound(const std::string& path) override { sounds.push_back(path); }
  bool openDocument(const std::string& path) override {
    documents.push_back(path);
    return documentsOpen;
  }
  uint64_t millis() override { return now_; }

  // Input, delivered as the real back end would: dropped when a modal window other than
  // window is open, or when window is not visible.
  void mouseDown(Window& window, float x, float y, int button = vbLeftButton);
  void mouseMove(Window& window, float x, float y);
  void keyDown(Window& window, int keyCode, int shift = 0);
  void keyPress(Window& window, int keyAscii);
  // Types text as a keyboard would: a key-down with the key's code, then its character.
  void type(Window& window, const std::string& text);
  // Closes the window as its close box does.
  void closeBox(Window& window) { window.unload(); }

  // One tick of window's timer, if it is enabled; and the clock moved on by millis, firing every
  // timer that falls due on the way.
  void tick(Window& window);
  void advance(uint64_t millis);

  // Each modal show runs the next step with the modal window; the step must close it.
  void onNextModal(std::function<void(Window&)> step) { modalSteps_.push_back(std::move(step)); }
  std::size_t pendingModalSteps() const { return modalSteps_.size(); }

  // What the test can check.
  std::vector<Message> messages;
  std::vector<std::string> sounds;
  std::vector<std::string> documents;
  bool documentsOpen = true;  // false: as on a desktop with no program to show documents
  // How often window was refreshed while visible.
  int presentCount(const Window& window) const;
  // The window's image as it was shown, then at each refresh.
  const std::vector<uint32_t>& screen(const Window& window) const;
  bool isShown(const Window& window) const;

 private:
  struct Shown {
    int presents = 0;
    std::vector<uint32_t> screen;
    uint64_t nextTick = 0;
  };
  bool acceptsInput(const Window& window) const;

  std::map<const Window*, Shown> shown_;
  std::vector<Window*> modalStack_;
  std::deque<std::function<void(Window&)>> modalSteps_;
  uint64_t now_ = 0;
};

}  // namespace qlx
