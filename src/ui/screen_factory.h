#pragma once
// Creates a screen by its form name.  A screen that is a QDialog is shown
// as a dialog of its own (modal screens); every other screen becomes a
// child window of the main window's work area.

#include <QString>

class QWidget;

namespace mk {

class ScreenHost;

// Returns nullptr for an unknown form name.
QWidget* CreateScreen(const QString& form, ScreenHost& host, QWidget* parent);

}  // namespace mk
