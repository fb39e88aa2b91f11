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
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringList>
#include <QTemporaryDir>

#include <climits>
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calc/recompute.h"
#include "paper/report_pdf.h"
#include "report/flow_report.h"
#include "fake_screen_host.h"
#include "project_file/vor_file.h"
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

// A sheet that records what the report's drawing puts on it, page by page:
// every glyph with its baseline position and colour, and every filled
// rectangle with its colour.
struct DrawnGlyph {
  int page;
  QPointF at;
  QString text;
  QColor color;
};
struct DrawnRect {
  int page;
  QRectF rect;
  QColor color;
};

class RecordingEngine : public QPaintEngine {
 public:
  explicit RecordingEngine(const int& page) : QPaintEngine(QPaintEngine::AllFeatures), page_(page) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & QPaintEngine::DirtyPen) pen_ = state.pen().color();
    if (state.state() & QPaintEngine::DirtyBrush) brush_ = state.brush().color();
  }
  void drawTextItem(const QPointF& at, const QTextItem& item) override {
    glyphs.push_back({page_, at, item.text(), pen_});
  }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) rects_.push_back({page_, rects[i], brush_});
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) rects_.push_back({page_, QRectF(rects[i]), brush_});
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  Type type() const override { return QPaintEngine::User; }

  std::vector<DrawnGlyph> glyphs;
  std::vector<DrawnRect> rects_;

 private:
  const int& page_;
  QColor pen_, brush_;
};

// An A4 sheet at `dpi`; newPage() moves the recording to the next page.
class RecordingSheet : public QPagedPaintDevice {
 public:
  explicit RecordingSheet(int dpi) : QPagedPaintDevice(nullptr), dpi_(dpi), engine_(page_) {}
  bool newPage() override {
    ++page_;
    return true;
  }
  QPaintEngine* paintEngine() const override { return const_cast<RecordingEngine*>(&engine_); }
  const RecordingEngine& recorded() const { return engine_; }

  // The lines drawn on `page` as text, read back from the glyphs' and
  // rectangles' places on the report's grid (a line is one em of
  // `pointSize`, a column half an em, from `origin`): each glyph at its
  // column, each filled rectangle as the "―" characters of the columns it
  // covers, blanks elsewhere, trailing blanks dropped.  A line holding
  // magenta glyphs starts with "[magenta]".
  std::vector<std::string> lines(int page, QPointF origin, double pointSize) const {
    const double lineHeight = pointSize * dpi_ / 72.0;
    const double column = lineHeight / 2.0;
    std::map<int, std::map<int, QString>> cells;
    std::set<int> magenta;
    for (const DrawnGlyph& g : engine_.glyphs) {
      if (g.page != page) continue;
      const int line = static_cast<int>(std::floor((g.at.y() - origin.y()) / lineHeight));
      // Glyph positions are kept to 1/64 pixel; a narrow glyph sits in its cell's middle.
      const int col = static_cast<int>(std::floor((g.at.x() - origin.x() + 0.1) / column));
      cells[line][col] = g.text;
      if (g.color == QColor(255, 0, 255)) magenta.insert(line);
    }
    for (const DrawnRect& r : engine_.rects_) {
      if (r.page != page) continue;
      const int line = static_cast<int>(std::floor((r.rect.center().y() - origin.y()) / lineHeight));
      const int first = qRound((r.rect.left() - origin.x()) / column);
      const int end = qRound((r.rect.right() - origin.x()) / column);
      for (int col = first; col < end; col += 2) cells[line][col] = end - col >= 2 ? QStringLiteral("―") : "?";
    }
    std::vector<std::string> out;
    for (const auto& [line, row] : cells) {
      if (line < 0) continue;
      out.resize(std::max(out.size(), static_cast<std::size_t>(line) + 1));
      QString text;
      int col = 0;
      for (const auto& [at, glyph] : row) {
        if (at < col) return {"overlapping cells"};
        text += QString(at - col, QLatin1Char(' ')) + glyph;
        col = at + LineColumns(glyph.toStdString());
      }
      out[static_cast<std::size_t>(line)] = (magenta.count(line) ? "[magenta]" : "") + text.toStdString();
    }
    return out;
  }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return qRound(210.0 / 25.4 * dpi_);
      case PdmHeight: return qRound(297.0 / 25.4 * dpi_);
      case PdmWidthMM: return 210;
      case PdmHeightMM: return 297;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return dpi_;
      case PdmDepth: return 32;
      case PdmNumColors: return INT_MAX;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  int page_ = 0;
  int dpi_;
  RecordingEngine engine_;
};

// The lines of tests/data/examples/<name>.report.txt with the given 1-based
// line numbers, after the five empty lines that begin a printed page.  The
// verdict line (ending "∴ NO") is listed as drawn in magenta.
std::vector<std::string> PrintedPage(const char* example, std::initializer_list<std::pair<int, int>> ranges,
                                     bool margin = true) {
  std::ifstream in(std::string(MK_EXAMPLES_DIR) + "/" + example + ".report.txt", std::ios::binary);
  std::vector<std::string> report;
  for (std::string line; std::getline(in, line);) report.push_back(line);
  std::vector<std::string> page(margin ? 5 : 0, "");
  for (auto [first, last] : ranges)
    for (int n = first; n <= last; ++n) page.push_back(report.at(static_cast<std::size_t>(n - 1)));
  return page;
}

// Two examples' printed pages, from their report files.
struct PrintedExample {
  const char* example;
  std::vector<std::string> page1, page2;
};
std::vector<PrintedExample> PrintedExamples() {
  // example_01 computes its sewage flow (residential, with groundwater) and
  // holds a flow-time facility: the sewage section begins page 2, without
  // the lines that restate single inputs (53 to 58).
  PrintedExample computed{"example_01", PrintedPage("example_01", {{1, 45}}),
                          PrintedPage("example_01", {{46, 52}, {59, 92}})};
  // example_07 has a typed sewage flow and no flow-time facility: page 2
  // begins with the facility section, whose Kutter lines (51 to 54) take
  // the flow-time block's indentation.
  PrintedExample typed{"example_07", PrintedPage("example_07", {{1, 28}}), PrintedPage("example_07", {{29, 50}})};
  for (const char* line : {"                            　   23＋(1/0.010)＋(0.00155/0.0300)",
                           "                  流速V=――――――――――――――――――――――――×(0.0235×0.0300)^(1/2)",
                           "                         1＋{23＋(0.00155/0.0300)}×{0.010/0.0235^(1/2)}",
                           "                       =(123.0517/2.5027)×0.0266=1.3063m/sec"})
    typed.page2.push_back(line);
  for (const std::string& line : PrintedPage("example_07", {{55, 59}}, false)) typed.page2.push_back(line);
  return {computed, typed};
}

// A page's lines as the recording sheet reads them back: a full-width blank
// is two columns of blank, trailing blanks and trailing empty lines are not
// drawn.
std::vector<std::string> AsDrawn(std::vector<std::string> lines) {
  for (std::string& line : lines) {
    QString text = QString::fromStdString(line).replace(QStringLiteral("　"), QStringLiteral("  "));
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    if (text.endsWith(QStringLiteral("∴ NO"))) text.prepend(QStringLiteral("[magenta]"));
    line = text.toStdString();
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
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

TEST(ReportFont, RunsOfRuleCharactersAreDrawnAsOneBandOverTheirColumns) {
  RecordingSheet sheet(1200);
  QPainter painter(&sheet);
  DrawTarget target(painter, ReportFont(kPaperReportPointSize));
  target.drawLine({"  V=―――･(R)  ――", false});
  target.drawLine({"――", true});
  painter.end();
  const RecordingEngine& drawn = sheet.recorded();
  for (const DrawnGlyph& g : drawn.glyphs) EXPECT_NE(g.text, QStringLiteral("―"));
  // 12 pt at 1200 dpi: 200 pixel lines and 100 pixel columns.
  ASSERT_EQ(drawn.rects_.size(), 3u);
  const QRectF bar = drawn.rects_[0].rect;
  EXPECT_DOUBLE_EQ(bar.left(), 4 * 100.0);
  EXPECT_DOUBLE_EQ(bar.right(), 10 * 100.0);
  EXPECT_DOUBLE_EQ(drawn.rects_[1].rect.left(), 16 * 100.0);
  EXPECT_DOUBLE_EQ(drawn.rects_[1].rect.right(), 20 * 100.0);
  // A stroke at mid-height of the line, as thin as the glyph's.
  EXPECT_GT(bar.height(), 5.0);
  EXPECT_LT(bar.height(), 20.0);
  EXPECT_GT(bar.center().y(), 0.3 * 200);
  EXPECT_LT(bar.center().y(), 0.5 * 200);
  EXPECT_EQ(drawn.rects_[0].color, QColor(0, 0, 0));
  EXPECT_EQ(drawn.rects_[2].color, QColor(255, 0, 255));
  EXPECT_DOUBLE_EQ(drawn.rects_[2].rect.top(), bar.top() + 200.0);
  EXPECT_EQ(sheet.lines(0, QPointF(0, 0), kPaperReportPointSize),
            (std::vector<std::string>{"  V=―――･(R)  ――", "――"}));
}

TEST_F(PrintImageTest, EachWindowDrawsItsPageOfTheReport) {
  for (const PrintedExample& example : PrintedExamples()) {
    SCOPED_TRACE(example.example);
    open(example.example);
    ShowPrintImage(host_, nullptr);
    menuEntry(viewer("Form7"), QStringLiteral("nextPage"))->trigger();
    for (PrintImageViewer* window : {viewer("Form7"), viewer("Form3")}) {
      ASSERT_NE(window, nullptr);
      RecordingSheet sheet(96);
      QPainter painter(&sheet);
      const bool no = window->paintPage(painter);
      painter.end();
      const bool first = window->page() == 1;
      EXPECT_EQ(sheet.lines(0, window->canvas()->textOrigin(), kScreenReportPointSize),
                AsDrawn(first ? example.page1 : example.page2))
          << "page " << window->page();
      EXPECT_EQ(no, !first);  // both examples say NO on page 2
      // The canvas shows exactly that drawing.
      QImage expected(window->canvas()->image().size(), QImage::Format_RGB32);
      expected.fill(Qt::white);
      QPainter imagePainter(&expected);
      imagePainter.setRenderHint(QPainter::TextAntialiasing);
      window->paintPage(imagePainter);
      imagePainter.end();
      EXPECT_TRUE(expected == window->canvas()->image()) << "page " << window->page();
    }
    menuEntry(viewer("Form3"), QStringLiteral("close"))->trigger();
    QCoreApplication::processEvents();
  }
}

TEST_F(PrintImageTest, PaperPagesHoldTheirReportLines) {
  for (const PrintedExample& example : PrintedExamples()) {
    SCOPED_TRACE(example.example);
    open(example.example);
    const ProjectRecord& record = host_.record();
    RecordingSheet sheet(1200);
    ASSERT_TRUE(DrawReportPages(sheet, SplitReportPages(ComposeFlowReport(record), record)));
    EXPECT_EQ(sheet.lines(0, QPointF(0, 0), kPaperReportPointSize), AsDrawn(example.page1));
    EXPECT_EQ(sheet.lines(1, QPointF(0, 0), kPaperReportPointSize), AsDrawn(example.page2));
    EXPECT_TRUE(sheet.lines(2, QPointF(0, 0), kPaperReportPointSize).empty());
  }
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

}  // namespace
}  // namespace mk
