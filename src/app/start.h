#pragma once
// The program's start, shared by main() and the start-time probe in bench/,
// so that the probe times exactly what a user waits for.

#include <thread>

class QApplication;

namespace mk {

// Reads the system's font configuration (fontconfig's files and font
// caches, several milliseconds) on a second thread, while QApplication
// connects to the window system; the Japanese Gothic's lookup then finds it
// read.  Made first thing in main(), before QApplication; PrepareApplication
// waits for it before it asks for a font.  Does nothing where Qt does not
// use fontconfig.
class FontConfigWarmUp {
 public:
  FontConfigWarmUp();
  ~FontConfigWarmUp();
  FontConfigWarmUp(const FontConfigWarmUp&) = delete;
  FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

  // Returns once the configuration has been read.
  void wait();

 private:
  std::thread thread_;
};

// Everything main() does before it builds the main window: the application
// names and icon, the screens' Japanese Gothic and Qt's Japanese texts.
void PrepareApplication(QApplication& app, FontConfigWarmUp* fonts = nullptr);

}  // namespace mk
