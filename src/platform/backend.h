// Backend: what a front end provides to windows — putting them on a screen (sdl/) or keeping
// them in memory for tests (headless/) — plus message boxes, sound and the shell.
#pragma once

#include <cstdint>
#include <string>

namespace qlx {

class Window;
struct MessageBoxStyle;

class Backend {
 public:
  virtual ~Backend() = default;

  // Window life on screen; the Window class calls these.
  virtual void showWindow(Window& window) = 0;
  virtual void hideWindow(Window& window) = 0;
  virtual void present(Window& window) = 0;
  virtual void captionChanged(Window& window) { (void)window; }
  virtual void iconChanged(Window& window) { (void)window; }
  virtual void windowStateChanged(Window& window) { (void)window; }
  virtual void timerChanged(Window& window) { (void)window; }

  // Delivers events until window is no longer visible; only window gets input meanwhile.
  virtual void runModal(Window& window) = 0;
  // Delivers events until no window is visible.
  virtual void run() = 0;

  // A modal message with an OK button only, no icon, title as its caption.
  virtual void messageBox(const std::string& text, const std::string& title) = 0;
  // The look of the message boxes that follow (colours, font); back ends that draw none ignore it.
  virtual void setMessageBoxStyle(const MessageBoxStyle& style) { (void)style; }

  // Plays a wave file in the background; a new sound replaces the one playing, the name "0"
  // stops it, and a missing file or no audio device is silent.
  virtual void playSound(const std::string& path) = 0;

  // Opens a file with the user's default viewer; false when it could not be handed to one.
  virtual bool openDocument(const std::string& path) = 0;

  // Milliseconds since some fixed point, for timers.
  virtual uint64_t millis() = 0;
};

}  // namespace qlx
