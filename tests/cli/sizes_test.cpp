// mirukana-report --sizes: the pipe sizing table as the program prints it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <string>

#include "calc/recompute.h"
#include "cli/program_run.h"
#include "project_file/vor_file.h"

namespace mk {
namespace {

const QString kExamples = QStringLiteral(MK_EXAMPLES_DIR);

struct SizesRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

SizesRun RunSizes(const QStringList& operands) {
  const ProgramRun run = RunProgram(kReportProgram, QStringList{"--sizes"} + operands, kExamples);
  return {run.exitCode, run.out.toStdString(), run.err.toStdString()};
}

// An example project changed by `edit` and saved under `dir`.
template <typename Edit>
QString EditedExample(const QTemporaryDir& dir, const char* example, Edit edit) {
  ProjectRecord record;
  NewProject(record);
  EXPECT_FALSE(ReadProjectFile(kExamples + "/" + example, record));
  RecomputeAfterOpen(record);
  edit(record);
  const QString path = dir.filePath("edited.vor");
  EXPECT_FALSE(WriteProjectFile(path, record));
  return path;
}

TEST(SizesCommand, CataloguePipeTableMarksTheSmallestPassingSize) {
  const SizesRun run = RunSizes({"example_02.vor"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  // Every VU size, smallest first; the project's own φ450 is the first to
  // pass, with the Q2 and V of its report.
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 13);
  EXPECT_EQ(run.out.rfind("VU - φ65\t0.0716\t0.0038\t0.1789\t0.0213\t0.4791\t0.0018\tNO\t\n", 0), 0u);
  EXPECT_NE(run.out.find("\nVU - φ400\t0.3964\t0.1170\t0.9902\t0.1181\t1.8096\t0.2117\tNO\t\n"
                         "VU - φ450\t0.4436\t0.1465\t1.1081\t0.1322\t1.9624\t0.2875\tO.K\t*\n"
                         "VU - φ500\t0.4908\t0.1793\t1.2260\t0.1463\t2.1092\t0.3783\tO.K\t\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '*'), 1);
}

TEST(SizesCommand, TypedSectionsPrintOneLine) {
  SizesRun run = RunSizes({"example_06.vor"});  // rectangular pipe H 1.47, B 1
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "ボックスカルバート\t1.0000×1.4700\t1.1025\t3.2050\t0.3440\t3.4012\t3.7499\tNO\t\n");

  run = RunSizes({"example_11.vor"});  // other circular pipe
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "鉄筋コンクリート管\t1.1900\t0.9537\t2.6349\t0.3620\t3.2649\t3.1139\tO.K\t*\n");
}

TEST(SizesCommand, AProjectThatCannotBeCheckedPrintsWhatItCanAndExitsWithOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = EditedExample(dir, "example_07.vor", [](ProjectRecord& r) { r.facility.form2.txt1 = ""; });
  const SizesRun run = RunSizes({path});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("施設の勾配を入力してください。"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("edited.vor"), std::string::npos);
  // VP φ75 at "水深７.5割": the section and R, no velocity, no verdict, no mark.
  EXPECT_NE(run.out.find("VP - φ75\t0.0780\t0.0038\t0.1634\t0.0235\t-\t-\t-\t\n"), std::string::npos) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 8);
}

TEST(SizesCommand, ATabInATypedNameDoesNotAddAField) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = EditedExample(dir, "example_11.vor", [](ProjectRecord& r) { r.facility.form5.txt_m = "RC\tpipe"; });
  const SizesRun run = RunSizes({path});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.rfind("RC pipe\t1.1900\t", 0), 0u) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\t'), 8);
}

}  // namespace
}  // namespace mk
