// The printed pages: which report lines go on which page, the top margins,
// the shortened sewage section, the main facility's Kutter indentation and
// the magenta NO line.  The reports are the example projects' expected
// report texts, with the record choices of each example set by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "report/page_split.h"

namespace mk {
namespace {

FlowReport ReportFromExample(const std::string& name) {
  std::ifstream in(std::string(MK_EXAMPLES_DIR) + "/" + name + ".report.txt", std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  FlowReport report;
  std::string line;
  while (std::getline(in, line)) report.lines.push_back(line);
  for (std::size_t i = 0; i < report.lines.size(); ++i) {
    const std::string& text = report.lines[i];
    const bool no = text.size() >= 6 && text.compare(text.size() - 6, 6, "∴ NO") == 0;
    const bool ok = text.find("∴ O.K") != std::string::npos;
    if (no || ok) {
      report.verdictLineIndex = static_cast<int>(i);
      report.verdictIsNo = no;
    }
  }
  return report;
}

enum class Sewage { Direct, Residential, NonResidential1, NonResidential2 };

// The choices of an example that shape the printout.
ProjectRecord Choices(bool option8, Sewage sewage, bool groundwater) {
  ProjectRecord r;
  r.intensity.Option8 = option8;
  r.main.opt7 = sewage != Sewage::Direct;
  r.main.opt8 = sewage == Sewage::Direct;
  r.main.opt9 = !groundwater;
  r.main.opt10 = groundwater;
  r.sewage.opt1 = sewage == Sewage::Residential;
  r.sewage.opt2 = sewage == Sewage::NonResidential1;
  r.sewage.opt3 = sewage == Sewage::NonResidential2;
  return r;
}

std::vector<std::string> Texts(const PrintLines& lines) {
  std::vector<std::string> out;
  for (const PrintLine& l : lines) out.push_back(l.text);
  return out;
}

void ExpectMarginThen(const PrintLines& page, const std::string& firstText, const char* what) {
  ASSERT_GT(page.size(), 5u) << what;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(page[static_cast<std::size_t>(i)].text, "") << what << " line " << i;
  EXPECT_EQ(page[5].text, firstText) << what;
}

const std::string kSewageHeading = "                ○ 計画汚水量";
const std::string kFacilityHeading = "                ◎ 排水施設の検討";

TEST(PageSplit, WithoutFlowTimeFacilitySewageStaysOnPage1AndPage2BeginsWithFacility) {
  // example_06: t2 from a river course, residential sewage, Kutter, NO.
  const FlowReport report = ReportFromExample("example_06");
  const PrintPages pages = SplitReportPages(report, Choices(false, Sewage::Residential, false));

  ExpectMarginThen(pages.page1, "", "page 1");
  EXPECT_EQ(pages.page1[6].text, report.lines[1]);  // the title after the report's own empty line
  const auto page1 = Texts(pages.page1);
  EXPECT_NE(std::find(page1.begin(), page1.end(), kSewageHeading), page1.end());
  EXPECT_NE(std::find(page1.begin(), page1.end(), "                ◎ 計画下水量"), page1.end());
  EXPECT_EQ(std::find(page1.begin(), page1.end(), kFacilityHeading), page1.end());

  ExpectMarginThen(pages.page2, kFacilityHeading, "page 2");
  const auto facilityStart = std::find(report.lines.begin(), report.lines.end(), kFacilityHeading);
  EXPECT_EQ(pages.page2.size(), 5u + static_cast<std::size_t>(report.lines.end() - facilityStart));
}

TEST(PageSplit, WithFlowTimeFacilityPage1IsTheStormwaterSectionAsWritten) {
  // example_01: the flow-time block (an irregular ditch by Kutter) sits in
  // the stormwater section and keeps its own indentation.
  const FlowReport report = ReportFromExample("example_01");
  const PrintPages pages = SplitReportPages(report, Choices(true, Sewage::Residential, true));

  std::vector<std::string> expected(5, "");
  const auto sewageStart = std::find(report.lines.begin(), report.lines.end(), kSewageHeading);
  expected.insert(expected.end(), report.lines.begin(), sewageStart);
  EXPECT_EQ(Texts(pages.page1), expected);

  ExpectMarginThen(pages.page2, kSewageHeading, "page 2");
  const auto page2 = Texts(pages.page2);
  EXPECT_EQ(std::count(page2.begin(), page2.end(), kFacilityHeading), 1);
  EXPECT_EQ(page2.back(), report.lines.back());
}

struct SewageCase {
  const char* example;
  bool option8;
  Sewage sewage;
  bool groundwater;
  std::vector<int> keptLines;  // 1-based line numbers of the example's report, from "○ 計画汚水量" on
  int combinedHeadingLine;     // line of "◎ 計画下水量"
};

std::vector<int> Lines(std::initializer_list<std::pair<int, int>> ranges) {
  std::vector<int> v;
  for (auto [first, last] : ranges)
    for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}

TEST(PageSplit, SewageSectionLeavesOutTheSingleInputLinesOfEachCase) {
  const std::vector<SewageCase> cases = {
      // Residential: formulas, then the result line.
      {"example_06", false, Sewage::Residential, false, Lines({{31, 34}, {41, 43}}), 44},
      // Residential with W: formulas, legends of Q12, P and q, the result.
      {"example_01", true, Sewage::Residential, true, Lines({{46, 52}, {59, 61}}), 62},
      // Non-residential (1): formulas, five legends, (empty), area, (empty), results.
      {"example_03", false, Sewage::NonResidential1, false, Lines({{22, 31}, {38, 43}}), 44},
      // Non-residential (1) with W: formulas, five legends, area, (empty), results.
      {"example_12", true, Sewage::NonResidential1, true, Lines({{48, 56}, {65, 70}}), 71},
      // Non-residential (2): formula, q legend, area, (empty), result.
      {"example_08", true, Sewage::NonResidential2, false, Lines({{47, 50}, {55, 59}}), 60},
      // Non-residential (2) with W: formula, q and A legends, area, (empty), result.
      {"example_04", true, Sewage::NonResidential2, true, Lines({{44, 48}, {53, 57}}), 58},
      // Typed sewage flow, with and without W: as in the text.
      {"example_02", true, Sewage::Direct, false, Lines({{45, 49}}), 50},
      {"example_07", false, Sewage::Direct, true, Lines({{19, 23}}), 24},
  };
  for (const SewageCase& c : cases) {
    SCOPED_TRACE(c.example);
    const FlowReport report = ReportFromExample(c.example);
    const PrintSections sections = SplitReportSections(report, Choices(c.option8, c.sewage, c.groundwater));

    std::vector<std::string> expected(c.option8 ? 5 : 0, "");
    for (int n : c.keptLines) expected.push_back(report.lines[static_cast<std::size_t>(n - 1)]);
    // The combined flow follows unchanged up to the facility section.
    const auto facilityStart = std::find(report.lines.begin(), report.lines.end(), kFacilityHeading);
    expected.insert(expected.end(), report.lines.begin() + (c.combinedHeadingLine - 1), facilityStart);
    EXPECT_EQ(Texts(sections.sewage), expected);
  }
}

TEST(PageSplit, SewageBlockThatDoesNotMatchItsCaseIsDrawnAsWritten) {
  // The record claims the residential case but the report holds the
  // non-residential (1) block: nothing is left out.
  const FlowReport report = ReportFromExample("example_03");
  const PrintSections sections = SplitReportSections(report, Choices(false, Sewage::Residential, false));
  const auto sewageStart = std::find(report.lines.begin(), report.lines.end(), kSewageHeading);
  const auto facilityStart = std::find(report.lines.begin(), report.lines.end(), kFacilityHeading);
  EXPECT_EQ(Texts(sections.sewage), std::vector<std::string>(sewageStart, facilityStart));
}

TEST(PageSplit, MainFacilityKutterLinesTakeTheFlowTimeIndentation) {
  // example_12: main rectangular pipe by Kutter; the legend's fraction keeps its place.
  const FlowReport report = ReportFromExample("example_12");
  const PrintPages pages = SplitReportPages(report, Choices(true, Sewage::NonResidential1, true));
  const auto page2 = Texts(pages.page2);

  const std::vector<std::string> substituted = {
      "                            　   23＋(1/0.025)＋(0.00155/0.0120)",
      "                  流速V=――――――――――――――――――――――――×(0.4437×0.0120)^(1/2)",
      "                         1＋{23＋(0.00155/0.0120)}×{0.025/0.4437^(1/2)}",
      "                       =(63.1292/1.8681)×0.0730=2.4657m/sec",
  };
  const auto at = std::search(page2.begin(), page2.end(), substituted.begin(), substituted.end());
  ASSERT_NE(at, page2.end());
  // Everything else of the facility section is as written.
  std::vector<std::string> rest(page2.begin(), at);
  rest.insert(rest.end(), at + 4, page2.end());
  const auto facilityStart = std::find(report.lines.begin(), report.lines.end(), kFacilityHeading);
  std::vector<std::string> written(facilityStart, report.lines.end());
  const auto writtenAt = std::find(written.begin(), written.end(),
                                   "                            　 23＋(1/0.025)＋(0.00155/0.0120)");
  ASSERT_NE(writtenAt, written.end());
  written.erase(writtenAt, writtenAt + 4);
  // Before them: the margin and the shortened sewage section (lines 48 to
  // 56 and 65 to 70 of the report), the combined flow from line 71 on.
  std::vector<std::string> expectedRest(5, "");
  for (int n : Lines({{48, 56}, {65, 70}})) expectedRest.push_back(report.lines[static_cast<std::size_t>(n - 1)]);
  expectedRest.insert(expectedRest.end(), report.lines.begin() + 70, facilityStart);
  expectedRest.insert(expectedRest.end(), written.begin(), written.end());
  EXPECT_EQ(rest, expectedRest);
  EXPECT_NE(std::find(page2.begin(), page2.end(), "                       1＋{23＋(0.00155/I)}･{n/R^(1/2)}"),
            page2.end());
}

TEST(PageSplit, OnlyTheNoVerdictLineIsMagenta) {
  const FlowReport no = ReportFromExample("example_12");
  const PrintPages noPages = SplitReportPages(no, Choices(true, Sewage::NonResidential1, true));
  EXPECT_TRUE(noPages.verdictIsNo);
  EXPECT_TRUE(std::none_of(noPages.page1.begin(), noPages.page1.end(), [](auto& l) { return l.magenta; }));
  ASSERT_GE(noPages.page2.size(), 2u);
  const PrintLine& verdict = noPages.page2[noPages.page2.size() - 2];
  EXPECT_EQ(verdict.text, "                   1.48×Q1=10.8884m3/sec  >  Q2=4.6602m3/sec    ∴ NO");
  EXPECT_TRUE(verdict.magenta);
  EXPECT_FALSE(noPages.page2.back().magenta);  // the rule line is black again
  EXPECT_EQ(std::count_if(noPages.page2.begin(), noPages.page2.end(), [](auto& l) { return l.magenta; }), 1);

  const FlowReport ok = ReportFromExample("example_02");
  const PrintPages okPages = SplitReportPages(ok, Choices(true, Sewage::Direct, false));
  EXPECT_FALSE(okPages.verdictIsNo);
  EXPECT_TRUE(std::none_of(okPages.page2.begin(), okPages.page2.end(), [](auto& l) { return l.magenta; }));
}

TEST(PageSplit, ReportWithoutSectionsStaysOnPage1) {
  FlowReport report;
  report.lines = {"", "             ☆ 流量計算書（下水排水施設（合流式））", ""};
  const PrintPages pages = SplitReportPages(report, ProjectRecord{});
  EXPECT_EQ(pages.page1.size(), 8u);
  EXPECT_EQ(pages.page2.size(), 5u);  // the margin only
}

TEST(PageSplit, ColumnsCountHalfWidthOnceAndFullWidthTwice) {
  EXPECT_EQ(CharacterColumns(U'A'), 1);
  EXPECT_EQ(CharacterColumns(U'･'), 1);   // U+FF65
  EXPECT_EQ(CharacterColumns(U'ｺ'), 1);
  EXPECT_EQ(CharacterColumns(U'ﾟ'), 1);   // U+FF9F
  EXPECT_EQ(CharacterColumns(U'　'), 2);  // full-width blank
  EXPECT_EQ(CharacterColumns(U'×'), 2);
  EXPECT_EQ(CharacterColumns(U'―'), 2);
  EXPECT_EQ(CharacterColumns(U'‰'), 2);
  EXPECT_EQ(CharacterColumns(U'～'), 2);
  // The byte counts of these lines in the Japanese code page.
  EXPECT_EQ(LineColumns("                     勾配の緩い山地(0.34)33141.00m2   ｺﾞﾙﾌ場等の造成地域(0.8)47345.00m2"), 87);
  EXPECT_EQ(LineColumns("                   1.48×Q1=10.8884m3/sec  >  Q2=4.6602m3/sec    ∴ NO"), 70);
  EXPECT_EQ(LineColumns("\xE3\x81"), 2);  // a cut-off sequence counts as one replacement character
}

}  // namespace
}  // namespace mk
