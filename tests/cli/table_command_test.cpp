// mirukana-report --table: the computed network flow table and its CSV.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "calc/network_levels.h"
#include "cli/program_run.h"
#include "project_file/cp932.h"
#include "project_file/network_file.h"

namespace mk {
namespace {

const QString kExample = QStringLiteral(MK_TEST_DATA_DIR "/network/example.mkt");

struct TableRun {
  int exitCode = -1;
  QByteArray out;
  std::string err;
};

TableRun RunTable(const QStringList& args) {
  const ProgramRun run = RunProgram(kReportProgram, QStringList{"--table"} + args);
  return {run.exitCode, run.out, run.err.toStdString()};
}

TEST(TableCommand, PrintsTheComputedTableAndExitsByTheVerdicts) {
  // Every verdict O.K, but segments 1 and 3 are longer than the manhole
  // spacing for their size: exit status 1, as for a NO row.
  TableRun run = RunTable({kExample});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  // Without ground levels the level columns stay empty, and it says so once.
  EXPECT_EQ(run.err, "mirukana-report: " + std::string(kNoLevelsNotice) + "\n");
  const QList<QByteArray> lines = run.out.split('\n');
  ASSERT_EQ(lines.size(), 5);  // header, three segments, the final newline
  EXPECT_TRUE(lines[0].startsWith("路線番号\t上流\t下流\t延長 L(m)\t"));
  EXPECT_TRUE(lines[0].contains("\t余裕率 (%)\t判定\t管厚 t(m)\t"));
  EXPECT_TRUE(lines[0].endsWith("\t実流速 (m/sec)\t照査\t備考"));
  EXPECT_EQ(lines[3],
            "3\t3\t4\t100\t0.40\t1.7000\t0.7\t0.2800\t1.0100\t\t0.95\t7.79\t104.63\t0.2935\t0.001\t"
            "0.0048\t0.2983\tﾋｭｰﾑ管 φ600\t5\t0.013\t水深８割\t1.750\t0.4243\t42.2\tO.K\t0.050 標準\t\t\t\t\t\t\t\t"
            "0.609\t1.655\t間隔\t");

  // One NO row: exit status 1; a table that cannot be computed: 2.
  QTemporaryDir dir;
  NetworkRecord record = ReadNetworkFile(kExample).record;
  record.segments[2].sizeIndex = 3;
  const QString no = dir.filePath("no.mkt");
  ASSERT_FALSE(WriteNetworkFile(no, record));
  EXPECT_EQ(RunTable({no}).exitCode, 1);
  record.segments[2].downstream = "1";
  ASSERT_FALSE(WriteNetworkFile(no, record));
  run = RunTable({no});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("路線番号「1」の下流「3」から流れが循環しています。"), std::string::npos) << run.err;
  run = RunTable({dir.filePath("missing.mkt")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;  // one line per problem
  run = RunTable({});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("mirukana-report --help"), std::string::npos);
}

// The worked example with levels (the README's): heads as shallow as the
// 1.0 m cover allows, 13.200 − 1.0 − 0.400 − 0.035 = 11.765; the crowns meet
// at node 3 (11.170 + 0.300 = 11.470 = 10.870 + 0.600), a drop of
// 11.170 − 10.870 = 0.300; the outlet 10.870 − 75 × 5/1000 = 10.495 stays
// above the receiving sewer's 10.400.  Every check passes: exit status 0.
TEST(TableCommand, PrintsTheLevelsOfAVersionTwoTable) {
  const TableRun run = RunTable({QStringLiteral(MK_TEST_DATA_DIR "/network/levels.mkt")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const QList<QByteArray> lines = run.out.split('\n');
  ASSERT_EQ(lines.size(), 5);
  EXPECT_TRUE(lines[1].endsWith("\t0.035 標準\t13.200\t11.765\t1.000\t12.800\t11.205\t1.160\t\t0.661\t1.637\t適\t"));
  EXPECT_TRUE(lines[3].endsWith("\t0.050 標準\t12.800\t10.870\t1.280\t12.500\t10.495\t1.355\t0.300\t0.610\t1.656\t適\t"));
}

TEST(TableCommand, CsvIsTheExport) {
  const TableRun run = RunTable({"--csv", kExample});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, ExportNetworkCsv(ReadNetworkFile(kExample).record.segments).bytes);
}

TEST(TableCommand, ResultsCsvHoldsEveryColumnAsTheTableShowsIt) {
  const TableRun table = RunTable({kExample});
  const TableRun run = RunTable({"--csv", "--results", kExample});
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_TRUE(run.out.endsWith("\r\n"));
  // CP932, CR LF; the example's texts hold no comma, so a CSV line is the
  // tab-separated line with commas.
  QStringList lines = QString::fromStdString(DecodeCp932(run.out)).split(QStringLiteral("\r\n"));
  const QStringList expected = QString::fromUtf8(table.out).split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), expected.size());
  EXPECT_EQ(lines[0], QString(expected[0]).replace(QLatin1Char('\t'), QLatin1Char(',')).replace(
                          QStringLiteral("·"), QStringLiteral("・")));
  EXPECT_TRUE(lines.contains(QString(expected[3]).replace(QLatin1Char('\t'), QLatin1Char(','))));
  EXPECT_EQ(RunTable({"--results", kExample}).exitCode, 2);
}

}  // namespace
}  // namespace mk
