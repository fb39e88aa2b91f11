// The report text file: appended in CP932 with CR LF, never truncated, and
// left as it was when a write cannot be completed.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include "project_file/cp932.h"
#include "project_file/report_file.h"
#include "report/report_test_support.h"

namespace mk {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

// A report with the code page's special characters: residential sewage
// ("㍑", "･", "｜"), Kutter ("―"), a name with "～".
ProjectRecord RecordWithSpecialCharacters() {
  ProjectRecord r = test::SimpleRecord();
  r.main.opt1 = false;
  r.main.opt2 = true;
  r.main.opt7 = true;
  r.main.opt8 = false;
  r.sewage.opt1 = true;
  r.derived.sewage.P = 100;
  r.derived.sewage.q1 = 5000;
  r.main.lst_s = 4;
  r.derived.mainSection.name = "試験管～A";
  return r;
}

class ReportFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString PathOf(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QTemporaryDir dir_;
};

TEST_F(ReportFile, AppendsCp932WithCrLfAndKeepsEarlierReports) {
  const QString path = PathOf("Gouryu.txt");
  WriteAll(path, "previous report\r\n");
  const ProjectRecord record = RecordWithSpecialCharacters();
  const FlowReport report = ComposeFlowReport(record);

  ASSERT_FALSE(Kakikomi(record, path).error.has_value());
  const QByteArray once = ReadAll(path);
  ASSERT_FALSE(Kakikomi(record, path).error.has_value());
  const QByteArray twice = ReadAll(path);

  ASSERT_TRUE(once.startsWith("previous report\r\n"));
  const QByteArray first = once.mid(17);
  // Each report begins with an empty line and the title; the second write
  // adds exactly the same bytes after the first.
  EXPECT_TRUE(first.startsWith("\r\n             \x81\x99 ")) << first.left(20).toHex().constData();
  EXPECT_EQ(twice, once + first);

  // Every line ends in CR LF, nothing follows the last one, no lone LF.
  EXPECT_TRUE(first.endsWith("\r\n"));
  EXPECT_EQ(first.count("\r\n"), static_cast<qsizetype>(report.lines.size()));
  EXPECT_EQ(first.count('\n'), first.count("\r\n"));

  // The special characters in their CP932 form.
  EXPECT_TRUE(first.contains("\x87\x67"));       // ㍑
  EXPECT_TRUE(first.contains("\x81\x5c\x81\x5c"));  // ―
  EXPECT_TRUE(first.contains("\x81\x60"));       // ～
  EXPECT_TRUE(first.contains("\x81\x62"));       // ｜
  EXPECT_TRUE(first.contains("P\xa5q"));         // ･ is one byte

  // Decoding gives back the composed lines.
  std::string expected;
  for (const std::string& line : report.lines) expected += line + "\r\n";
  EXPECT_EQ(DecodeCp932(first), expected);
}

TEST_F(ReportFile, UnencodableCharacterWritesNothing) {
  const QString path = PathOf("Gouryu.txt");
  WriteAll(path, "kept\r\n");
  ProjectRecord record = test::SimpleRecord();
  record.derived.mainSection.name = "管\xF0\x9F\x98\x80";  // an emoji has no CP932 form
  const WriteReportResult result = Kakikomi(record, path);
  ASSERT_TRUE(result.error.has_value());
  EXPECT_TRUE(result.error->contains(QString::fromUtf8("\xF0\x9F\x98\x80")));
  EXPECT_EQ(ReadAll(path), QByteArray("kept\r\n"));
}

TEST_F(ReportFile, FolderThatDoesNotExistIsReported) {
  const WriteReportResult result = Kakikomi(test::SimpleRecord(), PathOf("missing/Gouryu.txt"));
  ASSERT_TRUE(result.error.has_value());
  EXPECT_TRUE(result.error->contains("Gouryu.txt"));
}

TEST_F(ReportFile, FullDeviceIsReported) {
  if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const WriteReportResult result = Kakikomi(test::SimpleRecord(), "/dev/full");
  EXPECT_TRUE(result.error.has_value());
}

// A write cut short (here by a file-size limit) takes back its partial
// report: the file keeps exactly the earlier reports.
TEST_F(ReportFile, ShortWriteLeavesTheFileAsItWas) {
  const QString path = PathOf("Gouryu.txt");
  const QByteArray earlier(1000, 'x');
  WriteAll(path, earlier);

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 1200;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const WriteReportResult result = Kakikomi(test::SimpleRecord(), path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(ReadAll(path), earlier);
}

}  // namespace
}  // namespace mk
