// Opening a project recomputes every number from its inputs (the twelve
// examples are checked against their stored results in tests/project_file).

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/recompute.h"

namespace mk {
namespace {

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
