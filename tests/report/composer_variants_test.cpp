// Report variants the example projects do not reach: land-use tables of
// every length, rows with a gap, typed times, the assumed velocity, the
// river course without a formula, every depth wording, the facility kinds
// with special lines, the verdict forms and the missing sewage choice.

#include <cmath>

#include "calc/catalogue.h"
#include "calc/sections.h"
#include "report_test_support.h"

namespace mk {
namespace {

using test::FindLine;
using test::FindLineStarting;
using test::HasLine;

const std::string k19(19, ' ');
const std::string k20(20, ' ');
const std::string k21(21, ' ');

// The lines from `first` (inclusive) up to but excluding `count` lines later.
std::vector<std::string> Slice(const FlowReport& report, int first, int count) {
  if (first < 0 || first + count > static_cast<int>(report.lines.size())) return {};
  return {report.lines.begin() + first, report.lines.begin() + first + count};
}

// ------------------------------------------------------------- land use

ProjectRecord LandUseRecord(int rows) {
  ProjectRecord r = test::SimpleRecord();
  r.main.opt5 = false;
  r.main.opt6 = true;
  r.main.txt_c = "0.375";
  r.main.txt_a = "2000.00";
  RunoffNumbers& ro = r.derived.runoff;
  ro.names = {"屋　根", "道　路", "間　地", "林　地", "草　地", "耕　地"};
  ro.C = {0.9, 0.85, 0.3, 0.5, 0.45, 0.6};
  ro.A = {500, 1500, 250.5, 100, 200, 300};
  for (int j = rows; j < 6; ++j) ro.A[static_cast<std::size_t>(j)] = 0;
  return r;
}

const std::string kLandUseHeading = "       　　　　　　・流域面積(A) ( ( )は流出係数(C) )";
const std::string kAverageHeading = "       　　　　　  ・平均流出係数(C)";
const std::string kTotal = k21 + "合計面積 A=2000.00m2=0.200ha";

struct LandUseCase {
  int rows;
  std::vector<std::string> block;  // from the heading to the empty line after C
};

class LandUseTable : public ::testing::TestWithParam<LandUseCase> {};

TEST_P(LandUseTable, RowsTwoToALineAndTheAverageExpansion) {
  const LandUseCase& c = GetParam();
  const FlowReport report = ComposeFlowReport(LandUseRecord(c.rows));
  const int start = FindLine(report, kLandUseHeading);
  ASSERT_GE(start, 0);
  EXPECT_EQ(Slice(report, start, static_cast<int>(c.block.size())), c.block);
  EXPECT_EQ(report.lines[static_cast<std::size_t>(start) + c.block.size()], k19 + "・降雨強度 I=72.0mm/hr");
}

const std::string kRow12 = k21 + "屋　根(0.9)500.00m2   道　路(0.85)1500.00m2";
const std::string kRow34 = k21 + "間　地(0.3)250.50m2   林　地(0.5)100.00m2";
const std::string kFirst3 = k21 + "C={(0.9×500.00)＋(0.85×1500.00)＋(0.3×250.50";

INSTANTIATE_TEST_SUITE_P(
    EveryRowCount, LandUseTable,
    ::testing::Values(
        // One row: C with "0.0#" (0.375 shows as 0.38).
        LandUseCase{1,
                    {kLandUseHeading, k21 + "屋　根(0.9)500.00m2", kTotal, "", kAverageHeading,
                     k21 + "C=(0.9×500.00)/2000.00=0.38", ""}},
        LandUseCase{2,
                    {kLandUseHeading, kRow12, kTotal, "", kAverageHeading,
                     k21 + "C={(0.9×500.00)＋(0.85×1500.00)}/2000.00=0.375", ""}},
        LandUseCase{3,
                    {kLandUseHeading, kRow12, k21 + "間　地(0.3)250.50m2", kTotal, "", kAverageHeading,
                     k21 + "C={(0.9×500.00)＋(0.85×1500.00)＋(0.3×250.50)}/2000.00=0.375", ""}},
        // Four rows and more: the first line stops after A3 unclosed.
        LandUseCase{4,
                    {kLandUseHeading, kRow12, kRow34, kTotal, "", kAverageHeading, kFirst3,
                     std::string(23, ' ') + "＋(0.5×100.00)}/2000.00=0.375", ""}},
        LandUseCase{5,
                    {kLandUseHeading, kRow12, kRow34, k21 + "草　地(0.45)200.00m2", kTotal, "", kAverageHeading,
                     kFirst3, std::string(23, ' ') + "＋(0.5×100.00)＋(0.45×200.00)}/2000.00=0.375", ""}},
        LandUseCase{6,
                    {kLandUseHeading, kRow12, kRow34, k21 + "草　地(0.45)200.00m2   耕　地(0.6)300.00m2", kTotal,
                     "", kAverageHeading, kFirst3,
                     std::string(23, ' ') + "＋(0.5×100.00)＋(0.45×200.00)＋(0.6×300.00)}/2000.00=0.375", ""}}));

TEST(LandUseTableGap, RowsAfterAnEmptyRowLeaveOutRowsAndExpansion) {
  for (const std::size_t emptied : {std::size_t{1}, std::size_t{0}}) {
    SCOPED_TRACE(emptied);
    ProjectRecord r = LandUseRecord(3);
    r.derived.runoff.A[emptied] = 0;  // row 2 (or row 1) empty, row 3 filled
    const FlowReport report = ComposeFlowReport(r);
    const int start = FindLine(report, kLandUseHeading);
    ASSERT_GE(start, 0);
    EXPECT_EQ(Slice(report, start, 6),
              (std::vector<std::string>{kLandUseHeading, kTotal, "", kAverageHeading, "",
                                        k19 + "・降雨強度 I=72.0mm/hr"}));
  }
}

// ------------------------------------------------------------- times

ProjectRecord IntensityRecord() {
  ProjectRecord r = test::SimpleRecord();
  r.main.opt3 = false;
  r.main.opt4 = true;
  r.main.txt_i = "100.0";
  r.intensity.opt1 = true;
  r.intensity.Option4 = true;
  r.intensity.Option6 = false;
  IntensityNumbers& in = r.derived.intensity;
  in.a = 5000;
  in.b = 40;
  in.t1 = 5;
  in.t2 = 10;
  in.t = 15;
  return r;
}

TEST(TimeOfConcentration, TypedTimes) {
  ProjectRecord r = IntensityRecord();
  r.intensity.Option3 = true;
  r.intensity.Option4 = false;
  r.derived.intensity.t = 10;
  FlowReport report = ComposeFlowReport(r);
  int at = FindLine(report, k19 + "・到達時間 t=10.0min");
  ASSERT_GE(at, 0);
  EXPECT_EQ(Slice(report, at, 4), (std::vector<std::string>{k19 + "・到達時間 t=10.0min", "",
                                                            k19 + "・降雨強度 I=5000.0/(t＋40.0)=5000.0/(10.0＋40.0)=100.0mm/hr",
                                                            ""}));
  EXPECT_EQ(FindLineStarting(report, k19 + "・流入時間"), -1);

  r = IntensityRecord();
  r.intensity.Option1 = true;
  r.intensity.Option5 = true;
  r.derived.intensity.t2 = 7.456;
  r.derived.intensity.t = 12.456;
  report = ComposeFlowReport(r);
  at = FindLine(report, k19 + "・流入時間 t1=5.0min");
  ASSERT_GE(at, 0);
  EXPECT_EQ(Slice(report, at, 6),
            (std::vector<std::string>{k19 + "・流入時間 t1=5.0min", "", k19 + "・流下時間 t2=7.46min", "",
                                      k19 + "・到達時間 t=t1＋t2=5.0＋7.46=12.46min", ""}));
}

TEST(TimeOfConcentration, AssumedVelocityAndRiverCourseWithoutFormula) {
  ProjectRecord r = IntensityRecord();
  r.intensity.Option1 = true;
  r.intensity.Option6 = true;
  r.intensity.Option7 = true;
  r.derived.intensity.L = 600;
  r.derived.intensity.V = 1.0;
  FlowReport report = ComposeFlowReport(r);
  int at = FindLineStarting(report, k19 + "・流下時間 t2=L/60V=");
  ASSERT_GE(at, 0);
  EXPECT_EQ(Slice(report, at, 3), (std::vector<std::string>{
                                       k19 + "・流下時間 t2=L/60V=600.0/(60×1.00)=10.0min",
                                       std::string(41, ' ') + "｜ L：管渠延長(m)     V：仮定流速(m/sec)", ""}));

  // River course ticked, neither before nor after development: the legend only.
  r = IntensityRecord();
  r.intensity.Option1 = true;
  r.intensity.Option6 = true;
  r.intensity.chk1 = 1;
  report = ComposeFlowReport(r);
  at = FindLine(report, k19 + "・流入時間 t1=5.0min");
  ASSERT_GE(at, 0);
  EXPECT_EQ(Slice(report, at, 5),
            (std::vector<std::string>{k19 + "・流入時間 t1=5.0min", "",
                                      std::string(41, ' ') + "｜ L：河道延長(km)     i：河道の勾配", "",
                                      k19 + "・到達時間 t=t1＋t2=5.0＋10.0=15.0min"}));
}

TEST(TimeOfConcentration, AssumedVelocityLinesOnlyUnderTheirOwnOption) {
  // The options a file may hold together, consistent or not: the block
  // needs both "t2 computed" (Option6) and "velocity assumed" (Option7).
  struct Case {
    bool option5, option6, option7, option8, printed;
  };
  for (const Case& c : {Case{false, true, true, false, true}, Case{false, true, false, true, false},
                        Case{false, true, false, false, false}, Case{true, false, true, false, false},
                        Case{false, false, true, true, false}, Case{false, true, true, true, true}}) {
    ProjectRecord r = IntensityRecord();
    r.intensity.Option1 = true;
    r.intensity.Option5 = c.option5;
    r.intensity.Option6 = c.option6;
    r.intensity.Option7 = c.option7;
    r.intensity.Option8 = c.option8;
    const FlowReport report = ComposeFlowReport(r);
    const bool printed = FindLineStarting(report, k19 + "・流下時間 t2=L/60V=") >= 0;
    EXPECT_EQ(printed, c.printed) << c.option5 << c.option6 << c.option7 << c.option8;
    EXPECT_EQ(HasLine(report, std::string(41, ' ') + "｜ L：管渠延長(m)     V：仮定流速(m/sec)"), c.printed);
  }
}

// ------------------------------------------------------------- main facility

TEST(MainFacility, EveryDepthWordingAndCircularFactors) {
  struct Row {
    double code;
    const char* label;
    const char* cA;
    const char* cP;
  };
  const Row rows[] = {
      {10, "満流", "0.7853", "3.1415"},        {9.5, "水深９.５割", "0.7707", "2.6905"},
      {9, "水深９割", "0.7445", "2.4980"},     {8.5, "水深８.５割", "0.7115", "2.3461"},
      {8, "水深８割", "0.6735", "2.2142"},     {7.5, "水深７.５割", "0.6318", "2.0943"},
      {7, "水深７割", "0.5872", "1.9823"},     {95, "水深９５％", "0.7461", "2.4980"},
      {90, "水量９０％", "0.7068", "2.3282"},  {85, "水深８５％", "0.6675", "2.1958"},
      {80, "水量８０％", "0.6283", "2.0858"},  {75, "水深７５％", "0.5890", "1.9866"},
      {70, "水量７０％", "0.5497", "1.8962"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    ProjectRecord r = test::SimpleRecord();
    r.derived.mainSection.depthCode = row.code;
    r.main.opt1 = false;
    r.main.opt2 = true;
    const FlowReport report = ComposeFlowReport(r);
    EXPECT_TRUE(HasLine(report, std::string(18, ' ') + "（" + row.label + "、クッター公式による）"));
    EXPECT_GE(FindLineStarting(report, k20 + "・流水の断面積 A=" + row.cA + "･D^2=" + row.cA + "×0.1008^2="), 0);
    EXPECT_GE(FindLineStarting(report, k20 + "・流水の潤辺長 P=" + row.cP + "･D=" + row.cP + "×0.1008="), 0);
  }
}

TEST(MainFacility, UnknownDepthCodeWritesNoHeadingAndNoCircularLines) {
  ProjectRecord r = test::SimpleRecord();
  r.derived.mainSection.depthCode = 6;
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_EQ(FindLineStarting(report, std::string(18, ' ') + "（"), -1);
  const int n = FindLineStarting(report, k20 + "・粗 度 係 数  n=");
  ASSERT_GE(n, 0);
  EXPECT_EQ(report.lines[static_cast<std::size_t>(n) + 1].rfind(k20 + "・　径　　深   R=A/P=", 0), 0u);
}

TEST(MainFacility, RectangularPipeOpenAndFullPerimeter) {
  ProjectRecord r = test::SimpleRecord();
  r.main.lst_s = 5;
  FacilitySection& s = r.derived.mainSection;
  s.name = "ボックスカルバート";
  s.B = 0.6;
  s.H = 0.4;
  s.depthCode = 9;
  s.geometry = RectangularSection(0.4, 0.6, 9, true);
  FlowReport report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k19 + "※ 施設  ボックスカルバート 600×400    勾配 I=10.0‰=10.0/1000"));
  EXPECT_TRUE(HasLine(report, k20 + "・流水の断面積 A=0.60×(0.40×0.90)=0.2160m2"));
  EXPECT_TRUE(HasLine(report, k20 + "・流水の潤辺長 P=0.60＋{(0.40×0.90)×2}=1.3200m"));

  s.depthCode = 10;
  s.geometry = RectangularSection(0.4, 0.6, 10, true);
  report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k20 + "・流水の断面積 A=0.60×(0.40×1.00)=0.2400m2"));
  EXPECT_TRUE(HasLine(report, k20 + "・流水の潤辺長 P={0.60＋(0.40×1.00)}×2=2.0000m"));
}

TEST(MainFacility, DiameterUnderHalfAMillimetrePrintsNoSize) {
  ProjectRecord r = test::SimpleRecord();
  r.main.lst_s = 4;
  r.derived.mainSection.name = "鋼管";
  r.derived.mainSection.D = 0.0004;
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k19 + "※ 施設  鋼管 φ    勾配 I=10.0‰=10.0/1000"));
}

// ------------------------------------------------------------- flow-time facility

ProjectRecord FlowTimeRecord(int kind) {
  ProjectRecord r = IntensityRecord();
  r.intensity.Option1 = true;
  r.intensity.Option6 = true;
  r.intensity.Option8 = true;
  r.flowTime.opt1 = true;
  r.flowTime.lst_s = kind;
  r.derived.flowTimeSlope = 5;
  r.derived.flowTimeRoughness = 0.013;
  r.derived.intensity.L = 600;
  return r;
}

void StoreFlowTimeCapacity(ProjectRecord& r) {
  r.derived.flowTimeCapacity = test::CapacityOf(r.derived.flowTimeSection.geometry, 5, 0.013, r.flowTime.opt1);
}

// Lines from the roughness line to the R line of the flow-time block.
std::vector<std::string> FlowTimeSectionLines(const FlowReport& report) {
  const int n = FindLineStarting(report, k20 + "・粗 度 係 数  n=");
  const int R = FindLineStarting(report, k20 + "・  径　　深   R=A/P=");
  if (n < 0 || R < n) return {};
  return {report.lines.begin() + n + 1, report.lines.begin() + R};
}

TEST(FlowTimeFacility, UTroughPrintsTheOpenRectangle) {
  ProjectRecord r = FlowTimeRecord(5);
  FacilitySection& s = r.derived.flowTimeSection;
  s.name = "Ｕ型トラフ 300";
  s.B = s.H = 0.3;
  s.depthCode = 8;
  s.geometry = RectangularSection(0.3, 0.3, 8, false);
  StoreFlowTimeCapacity(r);
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k21 + "流入施設  Ｕ型トラフ 300    勾配 I=5.0‰=5.0/1000"));
  EXPECT_TRUE(HasLine(report, k20 + "（水深８割、マニング公式による）"));
  EXPECT_EQ(FlowTimeSectionLines(report),
            (std::vector<std::string>{k20 + "・流水の断面積 A=0.30×(0.30×0.80)=0.0720m2",
                                      k20 + "・流水の潤辺長 P=0.30＋{(0.30×0.80)×2}=0.7800m"}));
}

TEST(FlowTimeFacility, TrapezoidDitch) {
  ProjectRecord r = FlowTimeRecord(6);
  FacilitySection& s = r.derived.flowTimeSection;
  s.name = "台形溝";
  s.h = 1.0;
  s.b1 = 0.5;
  s.b2 = 2.5;
  s.b3 = 1.0;
  s.depthCode = 8;
  s.geometry = {1.04, 2.7627};
  StoreFlowTimeCapacity(r);
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k21 + "流入施設  台形溝  W 500～2500 × H 1000    勾配 I=5.0‰=5.0/1000"));
  // Surface width 0.5 + 1.0×0.8 + 1.0×0.8; both sides √2.
  EXPECT_EQ(FlowTimeSectionLines(report),
            (std::vector<std::string>{k20 + "・流水の断面積 A=(0.50＋2.10)×(1.00×0.80)×1/2=1.0400m2",
                                      k20 + "・流水の潤辺長 P=0.50＋(1.4142＋1.4142)×0.80)=2.7627m"}));
}

TEST(FlowTimeFacility, DitchWithEqualWidthsAndASlopedSideHasNoAreaLines) {
  ProjectRecord r = FlowTimeRecord(6);
  FacilitySection& s = r.derived.flowTimeSection;
  s.name = "Ｕ型溝";
  s.h = 0.5;
  s.b1 = s.b2 = 0.6;
  s.b3 = 0.1;
  s.depthCode = 8;
  s.geometry = TrapezoidSection(0.5, 0.6, 0.6, 0.1, 8);
  StoreFlowTimeCapacity(r);
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k21 + "流入施設  Ｕ型溝  W 600 × H 500    勾配 I=5.0‰=5.0/1000"));
  EXPECT_TRUE(FlowTimeSectionLines(report).empty());
  EXPECT_GE(FindLineStarting(report, k20 + "・  径　　深   R=A/P="), 0);
}

TEST(FlowTimeFacility, IrregularChannelHeadingHasNoDepthWording) {
  ProjectRecord r = FlowTimeRecord(7);
  FacilitySection& s = r.derived.flowTimeSection;
  s.name = "水路";
  s.b1 = 2;
  s.b2 = 2;
  s.h = 1;
  s.geometry = {2.0, 4.0};
  StoreFlowTimeCapacity(r);
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_TRUE(HasLine(report, k19 + "※ 施設  水路  W 2000 × H 1000    勾配 I=5.0‰=5.0/1000"));
  EXPECT_TRUE(HasLine(report, std::string(18, ' ') + "（マニング公式による）"));
  EXPECT_EQ(FlowTimeSectionLines(report), (std::vector<std::string>{k20 + "・流水の断面積 A=2.0000m2",
                                                                    k20 + "・流水の潤辺長 P=4.0000m"}));
}

// ------------------------------------------------------------- verdict

TEST(Verdict, EqualityIsOkAndSurchargePrintsTheFactor) {
  ProjectRecord r = test::SimpleRecord();
  r.run.Q11 = 0.25;
  r.run.Q12 = 0.125;
  r.run.Q2 = 0.375;  // Q1 = Q2 exactly
  FlowReport report = ComposeFlowReport(r);
  EXPECT_FALSE(report.verdictIsNo);
  ASSERT_GE(report.verdictLineIndex, 0);
  EXPECT_EQ(report.lines[static_cast<std::size_t>(report.verdictLineIndex)],
            k19 + "Q1=0.3750m3/sec  <  Q2=0.3750m3/sec  　∴ O.K");
  EXPECT_EQ(report.lines.back(), std::string(18, ' ') + "――――――――――――――――――――――――");

  r.main.opt11 = false;
  r.main.opt12 = true;
  r.main.txt1 = "10";
  report = ComposeFlowReport(r);
  EXPECT_TRUE(report.verdictIsNo);
  EXPECT_EQ(report.lines[static_cast<std::size_t>(report.verdictLineIndex)],
            k19 + "1.1×Q1=0.4125m3/sec  >  Q2=0.3750m3/sec    ∴ NO");
  EXPECT_EQ(report.lines.back(), std::string(18, ' ') + "―――――――――――――――――――――――――――");
}

TEST(Verdict, NoSurchargeChoiceWritesNoVerdict) {
  ProjectRecord r = test::SimpleRecord();
  r.main.opt11 = false;
  const FlowReport report = ComposeFlowReport(r);
  EXPECT_EQ(report.verdictLineIndex, -1);
  EXPECT_FALSE(report.verdictIsNo);
  EXPECT_EQ(report.lines.back(), "");
  EXPECT_EQ(report.lines[report.lines.size() - 2].rfind(k19 + "流　量 Q2=A･V=", 0), 0u);
}

// ------------------------------------------------------------- sewage, robustness

TEST(Sewage, NeitherChoiceLeavesOnlyTheHeading) {
  ProjectRecord r = test::SimpleRecord();
  r.main.opt8 = false;
  const FlowReport report = ComposeFlowReport(r);
  const int at = FindLine(report, "                ○ 計画汚水量");
  ASSERT_GE(at, 0);
  EXPECT_EQ(Slice(report, at, 5),
            (std::vector<std::string>{"                ○ 計画汚水量", "", "", "", "                ◎ 計画下水量"}));
}

TEST(Robustness, UndefinedNumbersPrintAsEmptyNumbers) {
  ProjectRecord r = FlowTimeRecord(4);
  r.derived.flowTimeRoughness = 0;         // 1/n undefined
  r.derived.flowTimeCapacity.R = -1;        // R^(2/3) of a negative number
  r.derived.flowTimeSection.depthCode = 8;
  r.derived.main.n = 0;
  r.main.opt1 = false;
  r.main.opt2 = true;
  r.derived.mainCapacity.kutterDenominator = std::nan("");
  r.run.Q2 = std::nan("");
  const FlowReport report = ComposeFlowReport(r);
  for (const std::string& line : report.lines) {
    EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    EXPECT_EQ(line.find("inf"), std::string::npos) << line;
  }
  EXPECT_TRUE(report.verdictIsNo);  // a Q2 that is not a number never passes
}

}  // namespace
}  // namespace mk
