// The print image (Form7 page 1, Form3 page 2) and printing, on example
// projects opened as Open reads them.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringList>
#include <QTemporaryDir>

#include "calc/recompute.h"
#include "fake_screen_host.h"
#include "project_file/vor_file.h"
#include "ui/main_window.h"
#include "ui/print_actions.h"
#include "ui/print_image.h"
#include "ui/print_image_viewers.h"

namespace mk {
namespace {

class PrintTestHost : public testing::FakeScreenHost {
 public:
  void hideScreen(const QString& form) override {
    hidden << form;
    FakeScreenHost::hideScreen(form);
  }
  QStringList hidden;
};

// Stands in for the platform's printers and printer dialog.
class ScriptedPrintDialog : public PrintDialogRunner {
 public:
  bool hasPrinters() const override { return printers; }
  bool run(QPrinter& printer, QWidget*) override {
    ++shown;
    if (!accept) return false;
    // The dialog's file output.
    ConfigurePdfPrinter(printer, outputPath);
    return true;
  }
  bool printers = true;
  bool accept = true;
  QString outputPath;
  int shown = 0;
};

class PrintImageTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetPrintDialogRunner(&dialog_); }
  void TearDown() override { SetPrintDialogRunner(previous_); }

  void open(const char* example) {
    ProjectRecord& record = host_.record();
    CloseProjectGroups(record);
    const QString path = QStringLiteral(MK_EXAMPLES_DIR "/") + QLatin1String(example) + QStringLiteral(".vor");
    ASSERT_FALSE(ReadProjectFile(path, record).has_value()) << example;
    RecomputeAfterOpen(record);
  }

  PrintImageViewer* viewer(const char* form) {
    return qobject_cast<PrintImageViewer*>(host_.findScreen(QLatin1String(form)));
  }
  static bool shown(QWidget* w) {
    if (!w) return false;
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    return w->isVisible() && (!sub || sub->isVisible());
  }
  static QAction* menuEntry(QWidget* w, const QString& name) { return w->findChild<QAction*>(name); }
  static QStringList menuTexts(QWidget* w) {
    QStringList texts;
    for (QAction* a : w->findChild<QMenuBar*>()->actions()) texts << a->text();
    return texts;
  }

  PrintTestHost host_;
  ScriptedPrintDialog dialog_;
  PrintDialogRunner* previous_ = nullptr;
};

// Pixels drawn in light magenta (antialiased edges included).
int MagentaPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 200 && c.blue() > 200 && c.green() < 120) ++count;
    }
  return count;
}

int DarkPixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++count;
  return count;
}

int PdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(file.readAll());
  return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

TEST(ReportFont, MinchoSubstituteKeepsFullWidthAtTwoColumns) {
  const QFont screen = ReportFont(kScreenReportPointSize);
  EXPECT_EQ(QFontInfo(screen).family(), QStringLiteral("IPAMincho"));
  QImage image(10, 10, QImage::Format_RGB32);
  EXPECT_TRUE(ReportFontKeepsColumns(screen, &image));
  QPrinter printer(QPrinter::HighResolution);
  ConfigurePdfPrinter(printer, QString());
  EXPECT_TRUE(ReportFontKeepsColumns(ReportFont(kPaperReportPointSize), &printer));
}

TEST(ReportFont, DrawTargetPlacesColumnsAndLines) {
  QImage image(400, 200, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawTarget target(painter, ReportFont(12.0), QPointF(10, 20));
  // 12 pt at 96 dpi: a 16 pixel line pitch and 8 pixel columns.
  EXPECT_NEAR(target.lineHeight(), 16.0, 0.1);
  EXPECT_NEAR(target.columnWidth(), 8.0, 0.1);
  target.drawLine({"", false});
  EXPECT_NEAR(target.position().y(), 36.0, 0.1);
  // A full-width character and two half-width ones end at the same column.
  target.drawLine({"流", false});
  target.drawLine({"MM", false});
  painter.end();
  auto rightmostInk = [&image](int top, int bottom) {
    int right = -1;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 160) right = std::max(right, x);
    return right;
  };
  const int wide = rightmostInk(36, 52);
  const int narrow = rightmostInk(52, 68);
  EXPECT_GT(wide, 10);
  EXPECT_LE(wide, 10 + 16);
  EXPECT_GT(narrow, 10 + 8);
  EXPECT_LE(narrow, 10 + 16);
}

TEST_F(PrintImageTest, PageOneOpensWithItsMenusAndTheToolbarHidden) {
  open("example_12");
  host_.prompter_.clear();
  ShowPrintImage(host_, nullptr);

  PrintImageViewer* page1 = viewer("Form7");
  ASSERT_NE(page1, nullptr);
  EXPECT_TRUE(shown(page1));
  EXPECT_EQ(page1->windowTitle(), QStringLiteral("流量計算"));
  EXPECT_FALSE(host_.toolbarVisible);
  EXPECT_EQ(menuTexts(page1), (QStringList{QStringLiteral("次のページ"), QStringLiteral("印刷(&P)"),
                                          QStringLiteral("PDFに出力(&D)"), QStringLiteral("書き込み(&W)"),
                                          QStringLiteral("起動(&O)"),
                                          QStringLiteral("閉じる(&C)")}));
  EXPECT_GE(page1->drawCount(), 1);
  EXPECT_GT(DarkPixels(page1->canvas()->image()), 1000);
  EXPECT_EQ(MagentaPixels(page1->canvas()->image()), 0);
  EXPECT_TRUE(host_.hidden.contains(QStringLiteral("Form12")));
  EXPECT_EQ(host_.prompter_.beeps, 0);
}

TEST_F(PrintImageTest, CanvasIsAnA4SheetAndScrollsToItsLowerEdge) {
  dialog_.printers = false;
  open("example_02");
  ShowPrintImage(host_, nullptr);
  PrintImageViewer* page1 = viewer("Form7");
  ASSERT_NE(page1, nullptr);
  PageCanvas* canvas = page1->canvas();
  QWidget* viewport = page1->findChild<QWidget*>(QStringLiteral("Picture1"));
  auto* vbar = page1->findChild<QScrollBar*>(QStringLiteral("VScroll1"));
  auto* hbar = page1->findChild<QScrollBar*>(QStringLiteral("HScroll1"));
  ASSERT_TRUE(viewport && vbar && hbar);
  EXPECT_EQ(canvas->objectName(), QStringLiteral("Picture2"));
  // A4 is 210 x 297 mm (595 x 842 points): about 794 x 1123 pixels at 96 dpi.
  EXPECT_NEAR(canvas->width(), 794, 1);
  EXPECT_NEAR(canvas->height(), 1123, 1);

  const int max = canvas->height() - viewport->height();
  EXPECT_EQ(vbar->maximum(), max);
  EXPECT_EQ(vbar->pageStep(), qRound(max / 2.0));
  EXPECT_EQ(vbar->singleStep(), qRound(qRound(max / 2.0) / 2.0));
  vbar->setValue(vbar->maximum());
  EXPECT_EQ(canvas->y(), -max);
  EXPECT_EQ(canvas->geometry().bottom(), viewport->rect().bottom());
  hbar->setValue(hbar->maximum());
  EXPECT_EQ(canvas->x(), -hbar->maximum());
}

TEST_F(PrintImageTest, NextAndPreviousPageSwitchWindowsAndPageTwoBeepsOnNo) {
  open("example_12");  // NO
  host_.prompter_.clear();
  ShowPrintImage(host_, nullptr);
  PrintImageViewer* page1 = viewer("Form7");
  ASSERT_NE(page1, nullptr);

  menuEntry(page1, QStringLiteral("nextPage"))->trigger();
  PrintImageViewer* page2 = viewer("Form3");
  ASSERT_NE(page2, nullptr);
  EXPECT_FALSE(shown(page1));
  EXPECT_TRUE(shown(page2));
  EXPECT_EQ(menuTexts(page2), (QStringList{QStringLiteral("前のページ"), QStringLiteral("印刷(&P)"),
                                          QStringLiteral("PDFに出力(&D)"), QStringLiteral("書き込み(&W)"),
                                          QStringLiteral("起動(&O)"),
                                          QStringLiteral("閉じる(&C)")}));
  EXPECT_EQ(host_.prompter_.beeps, 1);
  EXPECT_GT(MagentaPixels(page2->canvas()->image()), 50);

  const int drawsBefore = page1->drawCount();
  menuEntry(page2, QStringLiteral("previousPage"))->trigger();
  EXPECT_TRUE(shown(page1));
  EXPECT_FALSE(shown(page2));
  EXPECT_EQ(page1->drawCount(), drawsBefore + 1);  // redrawn on becoming active
  EXPECT_EQ(host_.prompter_.beeps, 1);

  menuEntry(page1, QStringLiteral("nextPage"))->trigger();
  EXPECT_EQ(host_.prompter_.beeps, 2);  // every drawing of a NO page 2
  EXPECT_FALSE(host_.toolbarVisible);
}

TEST_F(PrintImageTest, OkPageTwoNeitherBeepsNorShowsMagenta) {
  open("example_02");  // O.K
  host_.prompter_.clear();
  ShowPrintImage(host_, nullptr);
  menuEntry(viewer("Form7"), QStringLiteral("nextPage"))->trigger();
  EXPECT_EQ(host_.prompter_.beeps, 0);
  EXPECT_EQ(MagentaPixels(viewer("Form3")->canvas()->image()), 0);
  EXPECT_GT(DarkPixels(viewer("Form3")->canvas()->image()), 1000);
}

TEST_F(PrintImageTest, CloseShowsTheToolbarAndUnloadsTheViewer) {
  open("example_02");
  ShowPrintImage(host_, nullptr);
  menuEntry(viewer("Form7"), QStringLiteral("nextPage"))->trigger();
  menuEntry(viewer("Form3"), QStringLiteral("close"))->trigger();
  EXPECT_TRUE(host_.toolbarVisible);
  QCoreApplication::processEvents();
  EXPECT_EQ(viewer("Form3"), nullptr);

  // Opening the print image again hides the toolbar and shows page 1.
  ShowPrintImage(host_, nullptr);
  EXPECT_FALSE(host_.toolbarVisible);
  EXPECT_TRUE(shown(viewer("Form7")));

  // The window's close box does the same as "閉じる(&C)".
  qobject_cast<QMdiSubWindow*>(viewer("Form7")->parentWidget())->close();
  EXPECT_TRUE(host_.toolbarVisible);
  EXPECT_FALSE(shown(viewer("Form7")));
  QCoreApplication::processEvents();
  EXPECT_EQ(viewer("Form7"), nullptr);
}

TEST_F(PrintImageTest, CancelledPrinterDialogPrintsNothing) {
  QTemporaryDir dir;
  open("example_12");
  host_.prompter_.clear();
  dialog_.accept = false;
  dialog_.outputPath = dir.filePath(QStringLiteral("report.pdf"));
  ShowPrintImage(host_, nullptr);
  const int draws = viewer("Form7")->drawCount();
  menuEntry(viewer("Form7"), QStringLiteral("print"))->trigger();
  EXPECT_EQ(dialog_.shown, 1);
  EXPECT_FALSE(QFile::exists(dialog_.outputPath));
  EXPECT_EQ(host_.prompter_.beeps, 0);
  EXPECT_TRUE(host_.prompter_.requests.isEmpty());
  EXPECT_EQ(viewer("Form7")->drawCount(), draws);
}

TEST_F(PrintImageTest, PrintingGivesTwoPagesAndBeepsOnNo) {
  QTemporaryDir dir;
  open("example_12");
  host_.prompter_.clear();
  dialog_.outputPath = dir.filePath(QStringLiteral("report.pdf"));
  PrintReport(host_, nullptr);
  EXPECT_EQ(dialog_.shown, 1);
  EXPECT_GT(QFileInfo(dialog_.outputPath).size(), 2000);
  EXPECT_EQ(PdfPageCount(dialog_.outputPath), 2);
  EXPECT_EQ(host_.prompter_.beeps, 1);
}

TEST_F(PrintImageTest, WithoutPrintersTheReportGoesToAChosenPdfFile) {
  QTemporaryDir dir;
  open("example_06");
  dialog_.printers = false;

  host_.prompter_.clear();
  PrintReport(host_, nullptr);  // the file dialog is cancelled
  ASSERT_EQ(host_.prompter_.fileRequests.size(), 1);
  EXPECT_TRUE(host_.prompter_.fileRequests[0].save);
  EXPECT_TRUE(host_.prompter_.fileRequests[0].filter.contains(QStringLiteral("*.pdf")));
  EXPECT_EQ(host_.prompter_.beeps, 0);
  EXPECT_EQ(dialog_.shown, 0);

  host_.prompter_.clear();
  host_.prompter_.files << dir.filePath(QStringLiteral("sheet"));  // no suffix given
  PrintReport(host_, nullptr);
  const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
  EXPECT_EQ(PdfPageCount(pdf), 2);
  EXPECT_EQ(host_.prompter_.beeps, 1);  // example_06 is NO
  EXPECT_TRUE(host_.prompter_.requests.isEmpty());
}

TEST_F(PrintImageTest, OutputThatCannotBeWrittenIsReported) {
  open("example_02");
  dialog_.printers = false;
  host_.prompter_.clear();
  host_.prompter_.files << QStringLiteral("/nonexistent-folder/for/sure/report.pdf");
  PrintReport(host_, nullptr);
  ASSERT_EQ(host_.prompter_.requests.size(), 1);
  EXPECT_EQ(host_.prompter_.requests[0].title, QStringLiteral("エラーメッセージ"));
}

TEST_F(PrintImageTest, WriteAppendsTheReportAndBeepsOnNo) {
  QTemporaryDir dir;
  const QString previousDir = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  open("example_12");
  host_.prompter_.clear();
  ShowPrintImage(host_, nullptr);
  menuEntry(viewer("Form7"), QStringLiteral("write"))->trigger();
  menuEntry(viewer("Form7"), QStringLiteral("nextPage"))->trigger();
  menuEntry(viewer("Form3"), QStringLiteral("write"))->trigger();
  QDir::setCurrent(previousDir);
  EXPECT_EQ(host_.prompter_.beeps, 3);  // two writes and one drawing of page 2
  QFile file(dir.filePath(QStringLiteral("Gouryu.txt")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().count("\r\n"), 2 * 106);
}

// Renders both pages of a few examples to PNG files for a look by eye when
// MK_PRINT_IMAGE_DIR names a folder.
TEST_F(PrintImageTest, RendersPagesForInspection) {
  const QByteArray out = qgetenv("MK_PRINT_IMAGE_DIR");
  if (out.isEmpty()) GTEST_SKIP() << "MK_PRINT_IMAGE_DIR not set";
  for (const char* example : {"example_12", "example_06", "example_03"}) {
    open(example);
    ShowPrintImage(host_, nullptr);
    viewer("Form7")->canvas()->image().save(QString::fromLatin1(out) + "/" + example + "_page1.png");
    menuEntry(viewer("Form7"), QStringLiteral("nextPage"))->trigger();
    viewer("Form3")->canvas()->image().save(QString::fromLatin1(out) + "/" + example + "_page2.png");
    viewer("Form3")->grab().save(QString::fromLatin1(out) + "/" + example + "_window2.png");
    menuEntry(viewer("Form3"), QStringLiteral("previousPage"))->trigger();
    dialog_.outputPath = QString::fromLatin1(out) + "/" + example + ".pdf";
    PrintReport(host_, nullptr);
  }
  // The page-1 window inside the main window, as a user sees it.
  RecordingPrompter prompter;
  MainWindow window(prompter);
  window.resize(1024, 768);
  window.show();
  ASSERT_TRUE(window.openProject(QStringLiteral(MK_EXAMPLES_DIR "/example_01.vor")));
  window.fileImage();
  window.grab().save(QString::fromLatin1(out) + "/main_window_page1.png");
}

}  // namespace
}  // namespace mk
