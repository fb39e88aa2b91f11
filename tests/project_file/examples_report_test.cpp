// Every example project, opened as Open does it (read the file, then
// recompute), composes exactly the report stored beside it.

#include <gtest/gtest.h>

#include <QString>

#include "calc/recompute.h"
#include "project_file/vor_file.h"
#include "report/report_test_support.h"

namespace mk {
namespace {

class ExampleReport : public ::testing::TestWithParam<int> {};

std::string ExampleName(int number) {
  const std::string digits = std::to_string(number);
  return "example_" + std::string(digits.size() < 2 ? 1 : 0, '0') + digits;
}

TEST_P(ExampleReport, OpenedProjectComposesTheStoredReport) {
  const std::string name = ExampleName(GetParam());
  ProjectRecord record;
  const std::optional<QString> error =
      ReadProjectFile(QString::fromStdString(std::string(MK_EXAMPLES_DIR) + "/" + name + ".vor"), record);
  ASSERT_FALSE(error.has_value()) << error->toStdString();
  RecomputeAfterOpen(record);

  const FlowReport report = ComposeFlowReport(record);
  const std::vector<std::string> expected = test::ExpectedReport(name);
  test::ExpectSameLines(expected, report.lines, name);

  // The verdict line is the one before the rule line, and beeps for NO.
  ASSERT_GE(report.verdictLineIndex, 0);
  const std::string& verdict = report.lines[static_cast<std::size_t>(report.verdictLineIndex)];
  EXPECT_EQ(report.verdictIsNo, verdict.find("∴ NO") != std::string::npos);
  EXPECT_EQ(report.verdictLineIndex, static_cast<int>(report.lines.size()) - 2);
}

INSTANTIATE_TEST_SUITE_P(TwelveProjects, ExampleReport, ::testing::Range(1, 13),
                         [](const ::testing::TestParamInfo<int>& info) { return ExampleName(info.param); });

}  // namespace
}  // namespace mk
