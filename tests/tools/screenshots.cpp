// Pictures for a person to look at, written to the folder given as the
// only argument: the main window (empty, after a NO run, with example 12
// open, with the print image open, the about box), the network flow table
// with levels (its 設計基準 folded and open), and both print-image pages of
// a few examples as PNG, with each example's printout as PDF.
// Run by scripts/screenshots.sh; not a test.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTest>
#include <cstdio>

#include "../ui/fake_screen_host.h"
#include "ui/main_input_screen.h"
#include "ui/main_window.h"
#include "ui/network_node_grid.h"
#include "ui/network_table_menu.h"
#include "ui/network_table_screen.h"
#include "ui/print_actions.h"
#include "ui/print_image.h"
#include "ui/print_image_viewers.h"
#include "ui/prompter.h"
#include "calc/recompute.h"
#include "project_file/vor_file.h"

namespace mk {
namespace {

const QString kExamples = QStringLiteral(MK_EXAMPLES_DIR);

// The printer dialog "accepts" with PDF output to the file named in `path`.
class PdfDialog : public PrintDialogRunner {
 public:
  bool hasPrinters() const override { return true; }
  bool run(QPrinter& printer, QWidget*) override {
    ConfigurePdfPrinter(printer, path);
    return true;
  }
  QString path;
};

bool Save(const QImage& image, const QString& path) {
  const bool saved = image.save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(QDir::toNativeSeparators(path)));
  return saved;
}

void TypeInto(MainWindow& window, const char* form, const char* name, const QString& text) {
  QWidget* screen = window.findScreen(QString::fromLatin1(form));
  auto* entry = screen ? screen->findChild<EntryBox*>(QString::fromLatin1(name)) : nullptr;
  if (!entry) return;
  entry->selectAll();
  entry->del();
  QTest::sendKeyEvent(QTest::Click, entry, Qt::Key_unknown, text, Qt::NoModifier);
}

bool MainWindowPictures(const QString& out) {
  RecordingPrompter prompter;
  MainWindow window(prompter);
  window.resize(1024, 768);
  window.show();
  bool ok = Save(window.grab().toImage(), out + "/start.png");

  // A VP φ65 pipe against 0.11 m3/sec: NO.
  window.fileNew();
  TypeInto(window, "Form25", "txt_c", QStringLiteral("0.5"));
  TypeInto(window, "Form25", "txt_a", QStringLiteral("10000"));
  TypeInto(window, "Form25", "txt_i", QStringLiteral("72"));
  if (QWidget* main = window.findScreen(QStringLiteral("Form25")))
    if (auto* direct = main->findChild<QPushButton*>(QStringLiteral("cmd2"))) direct->click();
  TypeInto(window, "Form25", "txt3", QStringLiteral("0.01"));
  TypeInto(window, "Form2", "txt1", QStringLiteral("10"));
  if (QWidget* pipe = window.findScreen(QStringLiteral("Form2")))
    if (auto* run = pipe->findChild<QPushButton*>(QStringLiteral("cmd1"))) run->click();
  ok = Save(window.grab().toImage(), out + "/run_no.png") && ok;

  if (!window.openProject(kExamples + "/example_12.vor")) return false;
  ok = Save(window.grab().toImage(), out + "/open12.png") && ok;
  window.fileImage();
  ok = Save(window.grab().toImage(), out + "/main_window_page1.png") && ok;

  if (QAction* about = window.findChild<QAction*>(QStringLiteral("Men_HVer"))) about->trigger();
  if (auto* dialog = window.findChild<QDialog*>(QStringLiteral("Form10")))
    ok = Save(dialog->grab().toImage(), out + "/about.png") && ok;
  return ok;
}

bool NetworkTablePictures(const QString& out) {
  RecordingPrompter prompter;
  MainWindow window(prompter);
  window.resize(1024, 768);
  window.show();
  auto* menu = window.findChild<NetworkTableMenu*>();
  if (!menu || !menu->openTableFile(QStringLiteral(MK_TEST_DATA_DIR "/network/levels.mkt"))) return false;
  NetworkTableScreen* screen = menu->screen();
  QCoreApplication::processEvents();
  bool ok = Save(window.grab().toImage(), out + "/network_levels.png");
  // The level columns at the right end, the design criteria open.
  screen->table()->horizontalScrollBar()->setValue(screen->table()->horizontalScrollBar()->maximum());
  if (auto* fold = screen->findChild<QToolButton*>(QStringLiteral("cmd_criteria"))) fold->setChecked(true);
  QCoreApplication::processEvents();
  ok = Save(window.grab().toImage(), out + "/network_levels_criteria.png") && ok;
  // Failed checks: node 3's invert fixed too high for the cover.
  screen->nodeModel()->setCellText(1, NetworkNodeModel::InvertColumn, QStringLiteral("12.5"));
  QCoreApplication::processEvents();
  ok = Save(window.grab().toImage(), out + "/network_levels_failed.png") && ok;
  // A table without ground levels: the notice on the message line.
  screen->markSaved(QString());
  if (!menu->openTableFile(QStringLiteral(MK_TEST_DATA_DIR "/network/example.mkt"))) return false;
  QCoreApplication::processEvents();
  ok = Save(window.grab().toImage(), out + "/network_no_levels.png") && ok;
  return ok;
}

bool PrintImagePictures(const QString& out) {
  PdfDialog dialog;
  PrintDialogRunner* previous = SetPrintDialogRunner(&dialog);
  bool ok = true;
  for (const char* example : {"example_01", "example_03", "example_06", "example_07", "example_12"}) {
    testing::FakeScreenHost host;
    ProjectRecord& record = host.record();
    CloseProjectGroups(record);
    if (ReadProjectFile(kExamples + "/" + example + ".vor", record)) {
      ok = false;
      continue;
    }
    RecomputeAfterOpen(record);
    const QString name = out + "/" + QLatin1String(example);
    ShowPrintImage(host, nullptr);
    auto* page1 = qobject_cast<PrintImageViewer*>(host.findScreen(QStringLiteral("Form7")));
    if (!page1) return false;
    ok = Save(page1->canvas()->image(), name + "_page1.png") && ok;
    page1->nextPage();
    auto* page2 = qobject_cast<PrintImageViewer*>(host.findScreen(QStringLiteral("Form3")));
    if (!page2) return false;
    ok = Save(page2->canvas()->image(), name + "_page2.png") && ok;
    ok = Save(page2->grab().toImage(), name + "_window2.png") && ok;
    dialog.path = name + ".pdf";
    PrintReport(host, nullptr);
    std::printf("%s %s\n", QFileInfo::exists(dialog.path) ? "wrote" : "FAILED", qPrintable(dialog.path));
    ok = QFileInfo::exists(dialog.path) && ok;
  }
  SetPrintDialogRunner(previous);
  return ok;
}

}  // namespace
}  // namespace mk

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック")}) {
    if (QFontDatabase::hasFamily(family)) {
      QApplication::setFont(mk::FixedPitchGothic(QFont(family, 9)));
      break;
    }
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(out)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  const bool windows = mk::MainWindowPictures(out) && mk::NetworkTablePictures(out);
  const bool pages = mk::PrintImagePictures(out);
  return windows && pages ? 0 : 1;
}
