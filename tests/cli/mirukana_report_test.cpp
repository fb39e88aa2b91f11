// Runs the built mirukana-report as a user would and checks what it prints,
// what it writes and how it exits.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "cli/program_run.h"
#include "project_file/cp932.h"

namespace mk {
namespace {

const QString kExamples = QStringLiteral(MK_EXAMPLES_DIR);

ProgramRun RunReport(const QStringList& args, const QString& workDir = kExamples) {
  return RunProgram(kReportProgram, args, workDir);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList ExampleProjects() {
  return QDir(kExamples).entryList({"*.vor"}, QDir::Files, QDir::Name);
}

// Standard error holds exactly one line, which names `file`.
void ExpectOneLineNaming(const QByteArray& err, const char* file) {
  EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
  EXPECT_TRUE(err.endsWith('\n'));
  EXPECT_TRUE(err.contains(file)) << err.toStdString();
}

TEST(MirukanaReport, PrintsEachExampleReportExactlyAndExitsWithOneOnNo) {
  const QStringList projects = ExampleProjects();
  ASSERT_EQ(projects.size(), 12);
  for (const QString& project : projects) {
    SCOPED_TRACE(project.toStdString());
    const ProgramRun run = RunReport({project});
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    const QByteArray expected = ReadBytes(kExamples + "/" + project.chopped(4) + ".report.txt");
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(run.out.toStdString(), expected.toStdString());
    EXPECT_EQ(run.exitCode, expected.contains("∴ NO") ? 1 : 0);
  }
}

TEST(MirukanaReport, SummaryHasOneTabSeparatedLinePerProjectAndExitsWithOneOnAnyNo) {
  ProgramRun run = RunReport({"--summary", "example_01.vor", "example_02.vor", "example_07.vor"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out.toStdString(),
            "example_01.vor\t32.0122\t18.2678\t4.6021\tNO\n"
            "example_02.vor\t0.2325\t0.2875\t1.9624\tO.K\n"
            "example_07.vor\t0.0124\t0.0050\t1.3063\tNO\n");

  run = RunReport({"--summary", "example_02.vor", "example_11.vor"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.count('\n'), 2);
}

TEST(MirukanaReport, SummaryGoesOnPastAFileItCannotReadAndExitsWithTwo) {
  // Trouble outweighs the NO of example_01.
  const ProgramRun run = RunReport({"--summary", "example_01.vor", "missing.vor", "example_11.vor"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out.toStdString(),
            "example_01.vor\t32.0122\t18.2678\t4.6021\tNO\n"
            "example_11.vor\t1.5981\t3.1139\t3.2649\tO.K\n");
  ExpectOneLineNaming(run.err, "missing.vor");
}

TEST(MirukanaReport, AppendAddsTheReportAsWriteDoes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString target = dir.filePath("Gouryu.txt");
  // example_05 passes, example_07 does not: both are written, the status
  // is the verdict's.
  const struct {
    const char* name;
    int exitCode;
  } projects[] = {{"example_05", 0}, {"example_05", 0}, {"example_07", 1}};
  QByteArray expected;
  for (const auto& project : projects) {
    const ProgramRun run = RunReport({"--append", target, QString(project.name) + ".vor"});
    EXPECT_EQ(run.exitCode, project.exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    QByteArray report = ReadBytes(kExamples + "/" + project.name + ".report.txt");
    const auto cp932 = EncodeCp932(report.replace("\n", "\r\n").toStdString());
    ASSERT_TRUE(cp932.has_value());
    expected += *cp932;
  }
  EXPECT_EQ(ReadBytes(target), expected);
}

TEST(MirukanaReport, FileTroubleExitsWithTwoAndOneLineNamingTheFile) {
  ProgramRun run = RunReport({"no-such-project.vor"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.out.isEmpty());
  ExpectOneLineNaming(run.err, "no-such-project.vor");

  run = RunReport({"--append", "/nonexistent-dir/report-target.txt", "example_01.vor"});
  EXPECT_EQ(run.exitCode, 2);
  ExpectOneLineNaming(run.err, "report-target.txt");

  run = RunReport({"--sizes", "no-such-project.vor"});
  EXPECT_EQ(run.exitCode, 2);
  ExpectOneLineNaming(run.err, "no-such-project.vor");

  run = RunReport({"."});  // a directory is not a project
  EXPECT_EQ(run.exitCode, 2);
}

TEST(MirukanaReport, WrongUsageExitsWithTwoAndPointsToTheHelp) {
  const QStringList wrong[] = {
      {},
      {"--bogus", "example_01.vor"},
      {"example_01.vor", "example_02.vor"},
      {"--append", "only-one-operand"},
      {"--summary"},
      {"--sizes", "example_01.vor", "example_02.vor"},
      {"--sizes", "--summary", "example_01.vor"},
  };
  for (const QStringList& args : wrong) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const ProgramRun run = RunReport(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("mirukana-report: "));
    EXPECT_TRUE(run.err.contains("mirukana-report --help"));
  }
}

TEST(MirukanaReport, HelpIsJapaneseFirstThenEnglish) {
  const ProgramRun run = RunReport({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.isEmpty());
  const QString help = QString::fromUtf8(run.out);
  const qsizetype japanese = help.indexOf(QStringLiteral("使い方:"));
  const qsizetype english = help.indexOf(QStringLiteral("Usage:"));
  EXPECT_EQ(japanese, 0);
  EXPECT_GT(english, japanese);
  // Each half lists every command and the exit status.
  for (const QString& half : {help.left(english), help.mid(english)}) {
    for (const char* option : {"--append", "--summary", "--sizes", "--pdf", "--table", "--help"}) {
      EXPECT_TRUE(half.contains(QLatin1String(option))) << option;
    }
  }
  EXPECT_TRUE(help.left(english).contains(QStringLiteral("終了ステータス")));
  EXPECT_TRUE(help.mid(english).contains(QStringLiteral("Exit status")));
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
