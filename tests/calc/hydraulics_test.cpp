#include "calc/hydraulics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace mk {
namespace {

const SectionGeometry kSmallPipe{0.0314, 0.6283};

TEST(ComputeCapacity, ManningWorkedExample) {
  const auto r = ComputeCapacity(kSmallPipe, 10.0, 0.013, VelocityFormula::Manning);
  ASSERT_TRUE(r.ok());
  EXPECT_NEAR(r->R, 0.049976, 5e-7);
  EXPECT_DOUBLE_EQ(r->I, 0.01);
  EXPECT_NEAR(r->V, 1.0437, 5e-5);
  EXPECT_NEAR(r->Q2, 0.0328, 5e-5);
  // By hand: R = 0.0314/0.6283 = 0.0499761, R^(2/3) = 0.1356777,
  // V = (1/0.013)×0.1356777×0.01^(1/2) = 1.0436744, Q2 = 0.0314×V = 0.0327714.
  EXPECT_NEAR(r->V, 1.0436744, 5e-7);
  EXPECT_NEAR(r->Q2, 0.0327714, 5e-7);
  // Manning leaves the Kutter intermediates unset.
  EXPECT_EQ(r->kutterNumerator, 0.0);
  EXPECT_EQ(r->kutterDenominator, 0.0);
  EXPECT_EQ(r->kutterRootRI, 0.0);
}

TEST(ComputeCapacity, KutterWorkedExample) {
  const auto r = ComputeCapacity(kSmallPipe, 10.0, 0.013, VelocityFormula::Kutter);
  ASSERT_TRUE(r.ok());
  EXPECT_NEAR(r->kutterNumerator, 100.0781, 5e-5);
  EXPECT_NEAR(r->kutterDenominator, 2.3465, 5e-5);
  EXPECT_NEAR(r->kutterRootRI, 0.022355, 5e-7);
  EXPECT_NEAR(r->V, 0.9535, 5e-5);
  EXPECT_NEAR(r->Q2, 0.0299, 5e-5);
}

TEST(ComputeCapacity, RefusesWhatTheFormulasCannotTake) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    SectionGeometry g;
    double x, n;
  } cases[] = {
      {{0.0, 0.6}, 10, 0.013},   {{-0.1, 0.6}, 10, 0.013}, {{0.03, 0.0}, 10, 0.013},
      {{0.03, -1.0}, 10, 0.013}, {kSmallPipe, 0.0, 0.013}, {kSmallPipe, -5.0, 0.013},
      {kSmallPipe, 10, 0.0},     {kSmallPipe, 10, -0.013}, {{nan, 0.6}, 10, 0.013},
      {{inf, 0.6}, 10, 0.013},   {kSmallPipe, nan, 0.013}, {kSmallPipe, 10, nan},
  };
  for (const Case& c : cases) {
    for (VelocityFormula f : {VelocityFormula::Manning, VelocityFormula::Kutter}) {
      const auto r = ComputeCapacity(c.g, c.x, c.n, f);
      ASSERT_FALSE(r.ok()) << c.g.A << " " << c.g.P << " " << c.x << " " << c.n;
      EXPECT_FALSE(r.error().message.empty());
      EXPECT_EQ(r.error().message.substr(r.error().message.size() - 3), "。");
    }
  }
}

TEST(ComputeCapacity, FullAndPartlyFullPipeGiveDifferentVelocities) {
  const double D = 0.3;
  const auto full = ComputeCapacity({0.7853 * D * D, 3.1415 * D}, 5, 0.013, VelocityFormula::Manning);
  const auto part = ComputeCapacity({0.6735 * D * D, 2.2142 * D}, 5, 0.013, VelocityFormula::Manning);
  ASSERT_TRUE(full.ok() && part.ok());
  EXPECT_NEAR(full->R, D / 4, 1e-4);
  EXPECT_NE(full->V, part->V);
}

}  // namespace
}  // namespace mk
