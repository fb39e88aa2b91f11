// mirukana-report --profile: the profile of a flow path without a display,
// or why not, with the report's exit status.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli/program_run.h"

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

}  // namespace
}  // namespace mk
