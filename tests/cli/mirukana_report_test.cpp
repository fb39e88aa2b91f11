// Runs the built mirukana-report as a user would and checks what it prints,
// what it writes and how it exits.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "project_file/cp932.h"

namespace mk {
namespace {

const QString kExamples = QStringLiteral(MK_EXAMPLES_DIR);
const QString kProgram = QStringLiteral(MK_BIN_DIR "/mirukana-report");

struct ProgramRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

ProgramRun RunReport(const QStringList& args, const QString& workDir = kExamples) {
  QProcess process;
  process.setWorkingDirectory(workDir);
  process.start(kProgram, args);
  ProgramRun run;
  if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit) {
    ADD_FAILURE() << "mirukana-report did not finish normally: " << args.join(' ').toStdString();
    process.kill();
    return run;
  }
  run.exitCode = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ExampleProjects() {
  return QDir(kExamples).entryList({"*.vor"}, QDir::Files, QDir::Name);
}

TEST(MirukanaReport, PrintsEachExampleReportExactly) {
  const QStringList projects = ExampleProjects();
  ASSERT_EQ(projects.size(), 12);
  for (const QString& project : projects) {
    SCOPED_TRACE(project.toStdString());
    const ProgramRun run = RunReport({project});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QByteArray expected = ReadBytes(kExamples + "/" + project.chopped(4) + ".report.txt");
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(run.out.toStdString(), expected.toStdString());
  }
}

TEST(MirukanaReport, SummaryHasOneTabSeparatedLinePerProject) {
  const ProgramRun run = RunReport({"--summary", "example_01.vor", "example_02.vor", "example_07.vor"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.toStdString(),
            "example_01.vor\t32.0122\t18.2678\t4.6021\tNO\n"
            "example_02.vor\t0.2325\t0.2875\t1.9624\tO.K\n"
            "example_07.vor\t0.0124\t0.0050\t1.3063\tNO\n");
}

TEST(MirukanaReport, SummaryGoesOnPastAFileItCannotRead) {
  const ProgramRun run = RunReport({"--summary", "missing.vor", "example_11.vor"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out.toStdString(), "example_11.vor\t1.5981\t3.1139\t3.2649\tO.K\n");
  EXPECT_TRUE(run.err.contains("missing.vor"));
}

TEST(MirukanaReport, AppendAddsTheReportAsWriteDoes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString target = dir.filePath("Gouryu.txt");
  for (int i = 0; i < 2; ++i) {
    const ProgramRun run = RunReport({"--append", target, "example_05.vor"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
  }
  const QByteArray written = ReadBytes(target);
  QByteArray report = ReadBytes(kExamples + "/example_05.report.txt");
  const auto cp932 = EncodeCp932(report.replace("\n", "\r\n").toStdString());
  ASSERT_TRUE(cp932.has_value());
  EXPECT_EQ(written, *cp932 + *cp932);
}

TEST(MirukanaReport, FileErrorsExitWithOneAndNameTheFile) {
  ProgramRun run = RunReport({"no-such-project.vor"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_TRUE(run.err.contains("no-such-project.vor"));

  run = RunReport({"--append", "/nonexistent-dir/report-target.txt", "example_01.vor"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains("report-target.txt"));

  run = RunReport({"."});  // a directory is not a project
  EXPECT_EQ(run.exitCode, 1);
}

TEST(MirukanaReport, WrongUsageExitsWithTwoAndShowsTheUsage) {
  const QStringList wrong[] = {
      {},
      {"--bogus", "example_01.vor"},
      {"example_01.vor", "example_02.vor"},
      {"--append", "only-one-operand"},
      {"--summary"},
  };
  for (const QStringList& args : wrong) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const ProgramRun run = RunReport(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.contains("Usage:"));
  }
}

TEST(MirukanaReport, HelpGoesToStandardOutput) {
  const ProgramRun run = RunReport({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.contains("--summary"));
  EXPECT_TRUE(run.out.contains("Exit status"));
  EXPECT_TRUE(run.err.isEmpty());
}

TEST(MirukanaReport, ADoubleDashLetsAFileNameBeginWithADash) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QFile::copy(kExamples + "/example_11.vor", dir.filePath("-odd.vor")));
  const ProgramRun run = RunReport({"--", "-odd.vor"}, dir.path());
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out, ReadBytes(kExamples + "/example_11.report.txt"));
}

}  // namespace
}  // namespace mk
