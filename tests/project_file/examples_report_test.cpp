// Every example project, opened as Open does it (read the file, then
// recompute), composes exactly the report stored beside it.

#include <gtest/gtest.h>

#include <QString>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "calc/check_run.h"
#include "calc/recompute.h"
#include "calc/sizing.h"
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

// The first value written after "key": in the example's .json; the results
// come first there, so this is the run's own value.
std::string JsonText(const std::string& json, const std::string& key) {
  const std::size_t at = json.find("\"" + key + "\": ");
  if (at == std::string::npos) return {};
  const std::size_t begin = at + key.size() + 4;
  return json.substr(begin, json.find_first_of(",\n", begin) - begin);
}

double JsonNumber(const std::string& json, const std::string& key) {
  return std::strtod(JsonText(json, key).c_str(), nullptr);
}

// The report prints rounded numbers; the examples were computed with the same
// operations in the same order, so Open, the check run and the sizing table
// at the project's own size all agree with them to the last bits.
TEST_P(ExampleReport, FullPrecisionResultsFromOpenCheckRunAndSizeTable) {
  const std::string name = ExampleName(GetParam());
  std::ifstream in(std::string(MK_EXAMPLES_DIR) + "/" + name + ".json", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string json = text.str();
  const double Q1 = JsonNumber(json, "Q1_run"), Q2 = JsonNumber(json, "Q2"), V = JsonNumber(json, "V");
  const bool no = JsonText(json, "verdict") == "\"NO\"";
  ASSERT_GT(Q1, 0.0);

  ProjectRecord record;
  ASSERT_FALSE(ReadProjectFile(QString::fromStdString(std::string(MK_EXAMPLES_DIR) + "/" + name + ".vor"),
                               record).has_value());
  ProjectRecord opened = record;
  RecomputeAfterOpen(opened);
  EXPECT_DOUBLE_EQ(opened.run.Q1, Q1);
  EXPECT_DOUBLE_EQ(opened.run.Q2, Q2);
  EXPECT_DOUBLE_EQ(opened.run.V, V);
  EXPECT_EQ(opened.run.verdict == Verdict::NO, no);

  // The examples are projects that were run and saved: the run passes again.
  ProjectRecord run = record;
  const CheckRunOutcome outcome = CheckRun(run);
  ASSERT_TRUE(outcome.passed) << outcome.failure.message;
  EXPECT_DOUBLE_EQ(run.run.Q1, Q1);
  EXPECT_DOUBLE_EQ(run.run.Q2, Q2);
  EXPECT_EQ(outcome.lbl3, record.results.lbl3);
  EXPECT_EQ(outcome.beep, no);

  const SizeTableResult table = SizeTable(record);
  ASSERT_TRUE(table.problems.empty()) << table.problems.front().message;
  const std::size_t own = record.main.lst_s <= 3 ? static_cast<std::size_t>(record.facility.form2.lst_pu) : 0;
  ASSERT_LT(own, table.rows.size());
  const SizingRow& row = table.rows[own];
  ASSERT_TRUE(row.Q2 && row.V && row.verdict);
  EXPECT_DOUBLE_EQ(*row.Q2, Q2);
  EXPECT_DOUBLE_EQ(*row.V, V);
  EXPECT_EQ(*row.verdict == Verdict::NO, no);
}

INSTANTIATE_TEST_SUITE_P(TwelveProjects, ExampleReport, ::testing::Range(1, 13),
                         [](const ::testing::TestParamInfo<int>& info) { return ExampleName(info.param); });

}  // namespace
}  // namespace mk
