#pragma once
// The report's print image and printing, started from the main window's
// File menu (印刷ｲﾒｰｼﾞ, 印刷) and toolbar buttons 5 and 6.  Both compose the
// report afresh from host.record(); the main window offers them only while
// a run result exists.

class QWidget;

namespace mk {

class ScreenHost;

// Shows the two print-image pages of the report (FileImage).
void ShowPrintImage(ScreenHost& host, QWidget* parent);

// Prints the report on two pages, through the printer dialog (FilePrint).
void PrintReport(ScreenHost& host, QWidget* parent);

}  // namespace mk
