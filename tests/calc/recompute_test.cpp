// Opening a project recomputes every number from its inputs.  The twelve
// example projects carry the numbers their reports were made from.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calc/check_run.h"
#include "calc/recompute.h"
#include "example_json.h"
#include "model/number_text.h"

namespace mk {
namespace {

using testing::ApplyExampleInputs;
using testing::Json;
using testing::ReadJsonFile;

std::string ExamplePath(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "/example_%02d.json", n);
  return std::string(MK_EXAMPLES_DIR) + name;
}

// The examples were computed with the same operations in the same order, so
// they agree to the last bits.
void ExpectSame(double actual, double expected, const std::string& what) {
  EXPECT_DOUBLE_EQ(actual, expected) << what;
}

class ExampleProject : public ::testing::TestWithParam<int> {};

TEST_P(ExampleProject, OpenRecomputesTheStoredResults) {
  const Json example = ReadJsonFile(ExamplePath(GetParam()));
  const Json& inputs = example["inputs"];
  const Json& expected = example["results"];

  ProjectRecord record;
  NewProject(record);
  ApplyExampleInputs(inputs, record);
  RecomputeAfterOpen(record);

  const RunResult& run = record.run;
  EXPECT_TRUE(run.exists);
  ExpectSame(run.Q11, expected["Q11"].number, "Q11");
  ExpectSame(run.Q12, expected["Q12"].number, "Q12");
  ExpectSame(run.factor, expected["surcharge_factor"].number, "factor");
  ExpectSame(run.Q1, expected["Q1_run"].number, "Q1");
  ExpectSame(run.Q2, expected["Q2"].number, "Q2");
  ExpectSame(run.V, expected["V"].number, "V");
  EXPECT_EQ(run.verdict == Verdict::OK ? "O.K" : "NO", expected["verdict"].text);

  const Json& facility = expected["facility"];
  const FacilitySection& section = record.derived.mainSection;
  EXPECT_EQ(section.name, facility["name"].text);
  EXPECT_EQ(section.depthCode, facility["depth_code"].number);
  ExpectSame(section.geometry.A, facility["A"].number, "A");
  ExpectSame(section.geometry.P, facility["P"].number, "P");
  ExpectSame(record.derived.mainCapacity.R, facility["R"].number, "R");

  // The captions read from the file are kept, and they are what the
  // recomputed numbers show.
  const Json& captions = inputs["Form26"];
  EXPECT_EQ(record.results.lbl3, captions["lbl3"].text);
  EXPECT_EQ(record.results.lbl6, captions["lbl6"].text);
  EXPECT_EQ(record.results.lbl9, captions["lbl9"].text);
  EXPECT_EQ(FormatNumber(run.Q1, "0.0000"), captions["lbl3"].text);
  EXPECT_EQ(FormatNumber(run.Q2, "0.0000"), captions["lbl6"].text);
  EXPECT_EQ(FormatNumber(run.V, "0.0000"), captions["lbl9"].text);

  if (expected.has("intensity")) {
    const Json& times = expected["intensity"];
    const IntensityNumbers& n = record.derived.intensity;
    ExpectSame(n.t1, times["t1"].number, "t1");
    ExpectSame(n.t2, times["t2"].number, "t2");
    ExpectSame(n.t, times["t"].number, "t");
    ExpectSame(n.I, times["I"].number, "I");
    // The main screen shows I as the intensity screen's OK wrote it.
    EXPECT_EQ(record.main.txt_i, FormatNumber(n.I, "0.0"));
  }
  if (expected.has("runoff")) {
    const Json& runoff = expected["runoff"];
    ExpectSame(record.derived.runoff.sumA, runoff["sumA"].number, "sumA");
    ExpectSame(record.derived.runoff.C_weighted, runoff["C"].number, "C");
    // Open rewrites txt_c and txt_a from the rows; they match the file.
    EXPECT_EQ(record.main.txt_c, inputs["Form25"]["txt_c"].text);
    EXPECT_EQ(record.main.txt_a, inputs["Form25"]["txt_a"].text);
  }
  if (expected.has("sewage_screen_Q")) {
    ExpectSame(record.derived.sewage.Q, expected["sewage_screen_Q"].number, "sewage Q");
    EXPECT_EQ(record.main.txt3, FormatNumber(record.derived.sewage.Q, "0.0000"));
  }
  if (expected.has("flow_time_facility")) {
    ExpectSame(record.derived.flowTimeCapacity.V, expected["flow_time_facility"]["V"].number,
               "flow-time V");
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProject, ::testing::Range(1, 13),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "example_" + std::to_string(info.param);
                         });

// The check run over the same inputs gives the same numbers as Open, and
// passes every check: the examples are projects that were run and saved.
TEST_P(ExampleProject, CheckRunAgreesWithOpen) {
  const Json example = ReadJsonFile(ExamplePath(GetParam()));
  ProjectRecord record;
  NewProject(record);
  ApplyExampleInputs(example["inputs"], record);
  const CheckRunOutcome outcome = CheckRun(record);
  ASSERT_TRUE(outcome.passed) << outcome.failure.message;
  const Json& expected = example["results"];
  ExpectSame(record.run.Q1, expected["Q1_run"].number, "Q1");
  ExpectSame(record.run.Q2, expected["Q2"].number, "Q2");
  EXPECT_EQ(outcome.lbl3, example["inputs"]["Form26"]["lbl3"].text);
  EXPECT_EQ(outcome.beep, expected["verdict"].text == "NO");
}

// Open never fails: whatever the fields hold, every number stays finite.
TEST(RecomputeAfterOpen, HostileContentLeavesFiniteNumbers) {
  const char* texts[] = {"", "0", "-1", "abc", "-0.5", "1e3", ".", "-", "0.000000001",
                         "99999999999999999999999999999999999999999999999999999999999999999"
                         "99999999999999999999999999999999999999999999999999999999999999999"
                         "99999999999999999999999999999999999999999999999999999999999999999"
                         "99999999999999999999999999999999999999999999999999999999999999999"
                         "999999999999999999999999999999999999999999999999999"};
  for (const char* text : texts) {
    for (int kind : {-1, 0, 3, 4, 5, 6}) {
      ProjectRecord r;
      NewProject(r);
      r.main = MainScreenInputs{text, text, text, kind, true, true, false, true, false, true,
                                true, false, false, true, false, true, text, text, text};
      r.facility.form2 = {kind == 0 ? -1 : 99, text, text, kind == 3 ? 1 : 5};
      r.facility.form5 = {text, text, text, text, kind == 4 ? 8 : 2};
      r.facility.form1 = {text, text, text, text, text, kind == 5 ? 99 : 0};
      r.intensity.opt5 = true;
      for (std::string* t : {&r.intensity.txt1, &r.intensity.txt2, &r.intensity.txt3,
                             &r.intensity.txt4, &r.intensity.txt5, &r.intensity.txt6,
                             &r.intensity.txt7, &r.intensity.txt8, &r.intensity.txt9})
        *t = text;
      r.intensity.Option6 = true;
      r.intensity.Option8 = true;
      r.intensity.chk1 = kind == 5 ? 1 : 0;
      r.river = {true, false, text, text};
      r.runoff.txt_c.fill(text);
      r.runoff.txt_a.fill(text);
      r.sewage = {false, true, false, text, text, text, text};
      r.flowTime.lst_s = kind;

      RecomputeAfterOpen(r);

      const double numbers[] = {r.run.Q11, r.run.Q12, r.run.factor, r.run.Q1, r.run.Q2, r.run.V,
                                r.derived.mainSection.geometry.A, r.derived.mainSection.geometry.P,
                                r.derived.mainCapacity.R, r.derived.intensity.t,
                                r.derived.intensity.t2, r.derived.intensity.I,
                                r.derived.runoff.C_weighted, r.derived.runoff.sumA,
                                r.derived.sewage.Q, r.derived.flowTimeCapacity.V};
      for (double n : numbers) EXPECT_TRUE(std::isfinite(n)) << "text \"" << text << "\" kind " << kind;
    }
  }
}

// Nothing of a project opened before leaks into the next one.
TEST(RecomputeAfterOpen, StartsFromZeroForValuesNotComputed) {
  ProjectRecord r;
  NewProject(r);
  r.derived.intensity.t2 = 42.0;
  r.derived.intensity.I = 77.0;
  r.derived.sewage.Q = 5.0;
  r.main.opt4 = true;
  r.main.opt3 = false;
  r.intensity.opt1 = true;
  r.intensity.txt1 = "5000";
  r.intensity.txt2 = "40";
  r.intensity.txt3 = "5";
  r.intensity.Option1 = true;
  r.intensity.Option4 = true;
  r.intensity.Option6 = true;
  r.intensity.chk1 = 1;  // river course with neither development choice
  r.river.txt1 = "1";
  r.river.txt2 = "0.01";
  r.sewage = SewageFlowInput{};  // no class chosen: Q keeps its value, which is 0 here

  RecomputeAfterOpen(r);

  EXPECT_EQ(r.derived.intensity.t2, 0.0);
  EXPECT_EQ(r.derived.intensity.t, 5.0);
  EXPECT_DOUBLE_EQ(r.derived.intensity.I, 5000.0 / 45.0);
  EXPECT_EQ(r.derived.sewage.Q, 0.0);
}

}  // namespace
}  // namespace mk
