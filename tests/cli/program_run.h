#pragma once
// Runs a command-line program to its end, as the command tests need it:
// its exit code and everything it wrote.  A program that does not finish
// normally within a minute fails the test that ran it.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace mk {

inline const QString kReportProgram = QStringLiteral(MK_BIN_DIR "/mirukana-report");

struct ProgramRun {
  int exitCode = -1;
  QByteArray out;
  QByteArray err;
};

inline ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& workDir = QString(),
                             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess process;
  process.setProcessEnvironment(env);
  if (!workDir.isEmpty()) process.setWorkingDirectory(workDir);
  process.start(program, args);
  ProgramRun run;
  if (!process.waitForFinished(60'000) || process.exitStatus() != QProcess::NormalExit) {
    ADD_FAILURE() << program.toStdString() << " did not finish normally: " << args.join(' ').toStdString();
    process.kill();
    return run;
  }
  run.exitCode = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.err = process.readAllStandardError();
  return run;
}

}  // namespace mk
