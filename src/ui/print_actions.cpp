#include "ui/print_actions.h"

#include "ui/print_image.h"
#include "ui/print_image_viewers.h"
#include "ui/screen_host.h"

namespace mk {

void ShowPrintImage(ScreenHost& host, QWidget* parent) {
  (void)parent;
  host.setToolbarVisible(false);
  auto* page1 = qobject_cast<PrintImageViewer*>(host.screen(QStringLiteral("Form7")));
  if (!page1) return;
  page1->clearCanvas();
  host.showScreen(QStringLiteral("Form7"), 0, 0);
  page1->activate();  // page 1 draws when it becomes active
}

void PrintReport(ScreenHost& host, QWidget* parent) { FilePrint(host, parent); }

}  // namespace mk
