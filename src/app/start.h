#pragma once
// The program's start, shared by main() and the start-time probe in bench/,
// so that the probe times exactly what a user waits for.

class QApplication;

namespace mk {

// Everything main() does before it builds the main window: the application
// names and icon, the screens' Japanese Gothic and Qt's Japanese texts.
void PrepareApplication(QApplication& app);

}  // namespace mk
