// The profile window: the sheets follow the choices, the outputs go to the
// files named, a path that cannot be drawn is said instead of drawn.
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QPrinter>
#include <QRegularExpression>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "drawing/three_segment_path.h"
#include "ui/network_table_screen.h"
#include "ui/print_image.h"
#include "ui/profile_window.h"
#include "ui/prompter.h"

namespace mk {
namespace {

ProfileSource ThreeSegmentSource(bool* levels) {
  ProfileSource s;
  s.heads = [] { return std::vector<std::string>{"1"}; };
  s.longestHead = [] { return std::string("1"); };
  s.path = [levels](const std::string&) {
    drawing::ProfilePathResult r;
    if (*levels)
      r.path = test::ThreeSegmentPath();
    else
      r.refusal = "地盤高が入力されていないため、縦断図を描けません。";
    return r;
  };
  return s;
}

void Choose(QWidget& w, const char* combo, int index) {
  auto* c = w.findChild<QComboBox*>(combo);
  ASSERT_NE(c, nullptr) << combo;
  c->setCurrentIndex(index);
  emit c->activated(index);
}

TEST(ProfileWindow, SheetsFollowTheChoicesAndGoToFiles) {
  RecordingPrompter prompter;
  bool levels = true;
  ProfileWindow window(prompter, ThreeSegmentSource(&levels));
  window.show();
  ASSERT_TRUE(window.profile().ok());
  EXPECT_EQ(window.profile().sheets.size(), 1u);
  EXPECT_EQ(window.findChild<QComboBox*>("cbo_head")->currentText(), QStringLiteral("最長の流路（1）"));
  EXPECT_TRUE(window.findChild<QLabel*>("lbl_message")->text().contains(QStringLiteral("延長 150.00 m")));
  Choose(window, "cbo_sheet", 1);  // A4 holds 114.5 m at 1/500: two sheets
  EXPECT_EQ(window.profile().sheets.size(), 2u);
  EXPECT_EQ(window.profile().sheets[0].width, 297.0);
  Choose(window, "cbo_horizontal", 2);  // 1/1000: one again
  EXPECT_EQ(window.profile().sheets.size(), 1u);
  EXPECT_EQ(window.options().horizontal, 1000);

  QTemporaryDir dir;
  prompter.files = {dir.filePath("profile"), dir.filePath("profile.pdf")};
  window.findChild<QPushButton*>("cmd_dxf")->click();
  window.findChild<QPushButton*>("cmd_pdf")->click();
  QFile dxf(dir.filePath("profile.dxf")), pdf(dir.filePath("profile.pdf"));
  ASSERT_TRUE(dxf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(dxf.readAll().contains("AC1009"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
  EXPECT_TRUE(prompter.requests.isEmpty());  // no message, no question

  // An existing file is replaced only when the user says so.
  prompter.files = {dir.filePath("profile.dxf")};
  prompter.answers = {PromptAnswer::No};
  window.findChild<QPushButton*>("cmd_dxf")->click();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, QStringLiteral("上書き保存の確認"));
}

TEST(ProfileWindow, SaysWhyNothingIsDrawn) {
  RecordingPrompter prompter;
  bool levels = false;
  ProfileWindow window(prompter, ThreeSegmentSource(&levels));
  EXPECT_FALSE(window.profile().ok());
  EXPECT_TRUE(window.findChild<QLabel*>("lbl_message")->text().contains(QStringLiteral("地盤高")));
  window.findChild<QPushButton*>("cmd_pdf")->click();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_TRUE(prompter.requests[0].text.contains(QStringLiteral("地盤高")));
  EXPECT_TRUE(prompter.fileRequests.isEmpty());  // no file asked for
  levels = true;
  window.refresh();
  EXPECT_TRUE(window.profile().ok());
}


// 印刷 on the paper chosen in the printer dialog: an A4 chosen for the A3
// drawing gets the profile drawn again for A4, two sheets at 1/500.
class A4PrintDialog : public PrintDialogRunner {
 public:
  bool hasPrinters() const override { return true; }
  bool run(QPrinter& printer, QWidget*) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    return true;
  }
  QString path;
};

TEST(ProfileWindow, PrintsOnThePaperOfThePrinterDialog) {
  RecordingPrompter prompter;
  bool levels = true;
  ProfileWindow window(prompter, ThreeSegmentSource(&levels));
  QTemporaryDir dir;
  A4PrintDialog dialog;
  dialog.path = dir.filePath("printed.pdf");
  PrintDialogRunner* previous = SetPrintDialogRunner(&dialog);
  window.findChild<QPushButton*>("cmd_print")->click();
  SetPrintDialogRunner(previous);
  EXPECT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  EXPECT_EQ(window.profile().sheets.size(), 1u);  // the screen keeps its A3
  QFile pdf(dialog.path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(pdf.readAll());
  EXPECT_EQ(text.count(QRegularExpression("/Type\\s*/Page[^s]")), 2);
  EXPECT_TRUE(text.contains(QRegularExpression("/MediaBox \\[0 0 84[12][.0-9]* 595"))) << "A4 landscape";
}

// The table window's 縦断図 button: the profile of the table as it stands,
// drawn again when the table changes, closed with the table.
TEST(ProfileWindow, OpensFromTheTableAndFollowsIt) {
  RecordingPrompter prompter;
  QMdiArea area;
  area.resize(1200, 800);
  auto* table = new NetworkTableScreen(prompter);
  area.addSubWindow(table)->setAttribute(Qt::WA_DeleteOnClose);
  area.show();
  NetworkRecord record;
  record.settings.a = "5000", record.settings.b = "40", record.settings.t1 = "7";
  for (const char* name : {"1", "2"}) {
    NetworkSegment s = NewNetworkSegment();
    s.name = name, s.upstream = name, s.downstream = name[0] == '1' ? "2" : "3";
    s.length = "50", s.area = "0.5", s.c = "0.6", s.kind = NetworkFacilityKind::Hume, s.sizeIndex = 3;
    s.slope = "5", s.roughness = "0.013";
    record.segments.push_back(s);
  }
  record.nodes = {{"1", "12.0", "", ""}, {"2", "11.8", "", ""}, {"3", "11.6", "", ""}};
  table->load(record, QString());

  table->findChild<QPushButton*>("cmd_profile")->click();
  table->findChild<QPushButton*>("cmd_profile")->click();  // the same window again
  QList<ProfileWindow*> windows = area.findChildren<ProfileWindow*>();
  ASSERT_EQ(windows.size(), 1);
  ProfileWindow* profile = windows.front();
  ASSERT_TRUE(profile->profile().ok()) << *profile->profile().refusal;
  EXPECT_EQ(profile->findChild<QComboBox*>("cbo_head")->currentText(), QStringLiteral("最長の流路（1）"));

  // Levels gone from the table: the window says so at once.
  record.nodes.clear();
  table->load(record, QString());
  EXPECT_FALSE(profile->profile().ok());
  EXPECT_TRUE(profile->findChild<QLabel*>("lbl_message")->text().contains(QStringLiteral("地盤高")));

  QPointer<ProfileWindow> watch(profile);
  qobject_cast<QMdiSubWindow*>(table->parentWidget())->close();
  for (int round = 0; round < 2; ++round) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
}

}  // namespace
}  // namespace mk
