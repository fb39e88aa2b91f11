// Every input in tests/data/fuzz_regressions must keep the properties the
// fuzz targets check (fuzz/project_file_checks.h, fuzz/number_text_checks.h).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../../fuzz/number_text_checks.h"
#include "../../fuzz/project_file_checks.h"

namespace {

const QString kDir = QStringLiteral(MK_TEST_DATA_DIR "/fuzz_regressions");

QStringList Inputs(const QString& suffix) {
  return QDir(kDir).entryList({QStringLiteral("*.") + suffix}, QDir::Files, QDir::Name);
}

TEST(FuzzRegressions, ProjectFilesKeepOpenSaveAndReportProperties) {
  const QStringList files = Inputs(QStringLiteral("vor"));
  ASSERT_FALSE(files.isEmpty());
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_EQ(mk::fuzzcheck::CheckProjectFile(kDir + QLatin1Char('/') + name, scratch.filePath(QStringLiteral("saved.vor"))),
              "");
  }
}

TEST(FuzzRegressions, NumberTextsKeepParseAndPatternProperties) {
  const QStringList files = Inputs(QStringLiteral("num"));
  ASSERT_FALSE(files.isEmpty());
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    QFile f(kDir + QLatin1Char('/') + name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(mk::fuzzcheck::CheckNumberInput(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))),
              "");
  }
}

// A file whose stored C and area disagree with its land-use rows (saved
// after a row was edited without OK): Open computes the run from the stored
// C and then writes the rows' C into the main screen, so the first Open
// differs from the second; from there on the project reproduces itself.
TEST(FuzzRegressions, StoredResultsThatDisagreeWithInputsSettleAfterOneSave) {
  mk::ProjectRecord first;
  ASSERT_FALSE(mk::ReadProjectFile(kDir + QStringLiteral("/stored_c_disagrees_with_land_uses.vor"), first));
  mk::RecomputeAfterOpen(first);
  // The rows' weighted C replaces the stored 0.72: by hand,
  // (0.36×48.4 + 0.55×218 + 0.16×97)/(48.4 + 218 + 97) = 152.844/363.4 = 0.4206.
  EXPECT_EQ(first.main.txt_c, "0.421");

  const std::optional<QByteArray> once = mk::fuzzcheck::SavedBytes(first);
  ASSERT_TRUE(once);
  mk::ProjectRecord second;
  mk::ReadProjectLines(mk::fuzzcheck::SplitAndDecode(*once), second);
  mk::RecomputeAfterOpen(second);
  const std::optional<QByteArray> twice = mk::fuzzcheck::SavedBytes(second);
  ASSERT_TRUE(twice);
  mk::ProjectRecord third;
  mk::ReadProjectLines(mk::fuzzcheck::SplitAndDecode(*twice), third);
  mk::RecomputeAfterOpen(third);
  EXPECT_EQ(mk::ComposeFlowReport(third).lines, mk::ComposeFlowReport(second).lines);
  EXPECT_EQ(mk::fuzzcheck::SavedBytes(third), twice);
}

}  // namespace
