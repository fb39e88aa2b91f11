// mirukana-report --profile: the profile of a flow path without a display,
// or why not, with the report's exit status.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "calc/network.h"
#include "cli/program_run.h"
#include "project_file/network_file.h"

namespace mk {
namespace {

const QString kNoLevels = QStringLiteral(MK_TEST_DATA_DIR "/network/example.mkt");

ProgramRun RunProfile(const QStringList& args) {
  return RunProgram(kReportProgram, QStringList{"--profile"} + args);
}

TEST(ProfileCommand, RefusesWhatItCannotDrawAndWritesNothing) {
  QTemporaryDir dir;
  const QString out = dir.filePath("out.dxf");
  // A table without ground levels has no profile.
  ProgramRun run = RunProfile({kNoLevels, "--dxf", out});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("地盤高"))) << run.err.toStdString();
  EXPECT_FALSE(QFile::exists(out));
  // Usage: no output, two outputs, an unknown scale, a missing table.
  EXPECT_EQ(RunProfile({kNoLevels}).exitCode, 2);
  EXPECT_EQ(RunProfile({kNoLevels, "--pdf", out, "--svg", out}).exitCode, 2);
  run = RunProfile({kNoLevels, "--scale", "600:100", "--svg", out});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains("--scale"));
  EXPECT_EQ(RunProfile({dir.filePath("none.mkt"), "--svg", out}).exitCode, 2);
  EXPECT_FALSE(QFile::exists(out));
}

// A table with levels, saved as the program saves it: each output written,
// the DXF read back by ezdxf with the names where the stations and levels
// put them (x the station, y five times the level, 1 m above the ground).
TEST(ProfileCommand, WritesEachOutputOfATableWithLevels) {
  NetworkRecord record;
  record.settings.title = "縦断図の試験";
  record.settings.a = "5000", record.settings.b = "40", record.settings.t1 = "7";
  for (const char* name : {"1", "2"}) {
    NetworkSegment s = NewNetworkSegment();
    s.name = name, s.upstream = name, s.downstream = name[0] == '1' ? "2" : "放流";
    s.length = "50", s.area = "0.3", s.c = "0.6", s.kind = NetworkFacilityKind::Hume, s.sizeIndex = 3;
    s.slope = "5", s.roughness = "0.013";
    record.segments.push_back(s);
  }
  record.nodes = {{"1", "12.0", "", ""}, {"2", "11.8", "", ""}, {"放流", "11.6", "", ""}};
  QTemporaryDir dir;
  const QString table = dir.filePath("levels.mkt");
  ASSERT_FALSE(WriteNetworkFile(table, record).has_value());
  // The node levels live in the table file from its version 2 on.
  if (ReadNetworkFile(table).record.nodes.empty()) GTEST_SKIP() << "this table file version holds no node levels";
  const int verdict = ComputeNetwork(record).table.allChecksPass() ? 0 : 1;

  for (const char* option : {"--pdf", "--svg", "--dxf"}) {
    const QString out = dir.filePath(QStringLiteral("out.") + QString::fromLatin1(option + 2));
    const ProgramRun run = RunProfile({table, option, out});
    EXPECT_EQ(run.exitCode, verdict) << option << run.err.toStdString();
    EXPECT_TRUE(QFile::exists(out)) << option;
  }
  const ProgramRun check =
      RunProgram(QStringLiteral(MK_PYTHON3), {QStringLiteral(MK_TEST_SOURCE_DIR "/project_file/check_dxf.py"),
                                              dir.filePath("out.dxf"), QStringLiteral("1@0,61"),
                                              QStringLiteral("2@50,60"), QStringLiteral("放流@100,59")});
  EXPECT_EQ(check.exitCode, 0) << check.out.toStdString();
  // From the second head only: node 1 is not on it.
  EXPECT_EQ(RunProfile({table, "--from", "2", "--svg", dir.filePath("two.svg")}).exitCode, verdict);
  QFile svg(dir.filePath("two.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray bytes = svg.readAll();
  EXPECT_TRUE(bytes.contains(">放流</text>"));
  EXPECT_FALSE(bytes.contains(">1</text>"));
}

}  // namespace
}  // namespace mk
