// Planned sewage flow by residential class.

#include <gtest/gtest.h>

#include "calc/sewage.h"

namespace mk {
namespace {

ProjectRecord WithSewage(SewageClass c, const char* P, const char* q1, const char* A, const char* q2) {
  ProjectRecord r;
  NewProject(r);
  ChooseSewageClass(r.sewage, c);
  r.sewage.txt_p = P;
  r.sewage.txt_q1 = q1;
  r.sewage.txt_a = A;
  r.sewage.txt_q2 = q2;
  return r;
}

TEST(SewageFlow, WorkedValuesPerClass) {
  ProjectRecord r = WithSewage(SewageClass::Residential, "100", "5000", "", "");
  ASSERT_FALSE(AcceptSewageScreen(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.sewage.Q, 500000.0 / 86400000.0);
  EXPECT_EQ(r.main.txt3, "0.0058");

  r = WithSewage(SewageClass::NonResidential1, "100", "300", "5000", "0.003");
  ASSERT_FALSE(AcceptSewageScreen(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.sewage.Q, 30000.0 / 86400000.0 + 0.0015);
  EXPECT_EQ(r.main.txt3, "0.0018");

  r = WithSewage(SewageClass::NonResidential2, "", "", "10000", "0.004");
  ASSERT_FALSE(AcceptSewageScreen(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.sewage.Q, 0.004);
  EXPECT_EQ(r.main.txt3, "0.0040");
  EXPECT_EQ(r.derived.sewage.A, 10000.0);
}

TEST(SewageFlow, NoClassKeepsQ) {
  ProjectRecord r = WithSewage(SewageClass::Residential, "100", "5000", "", "");
  r.sewage.opt1 = false;
  r.derived.sewage.Q = 0.25;
  SewageKeisan(r);
  EXPECT_EQ(r.derived.sewage.Q, 0.25);
  EXPECT_EQ(r.derived.sewage.P, 100.0);
}

TEST(SewageFlow, ChecksPerClass) {
  struct Case {
    SewageClass c;
    const char* P;
    const char* q1;
    const char* A;
    const char* q2;
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {SewageClass::Residential, "", "", "", "", "計画人口を入力してください。", "Form28.txt_p"},
      {SewageClass::Residential, "0", "", "", "",
       "計画時間最大汚水量（１人１日当り）を入力してください。", "Form28.txt_q1"},
      {SewageClass::NonResidential1, "1", "1", "", "", "排水面積を入力してください。", "Form28.txt_a"},
      {SewageClass::NonResidential1, "1", "1", "1", "",
       "計画時間最大汚水量（１ｈｒ当り）を入力してください。", "Form28.txt_q2"},
      {SewageClass::NonResidential2, "", "", "", "", "排水面積を入力してください。", "Form28.txt_a"},
  };
  for (const Case& c : cases) {
    ProjectRecord r = WithSewage(c.c, c.P, c.q1, c.A, c.q2);
    r.main.txt3 = "0.1234";
    const auto failure = AcceptSewageScreen(r);
    ASSERT_TRUE(failure.has_value()) << c.message;
    EXPECT_EQ(failure->message, c.message);
    EXPECT_EQ(failure->focus, c.focus);
    EXPECT_EQ(r.main.txt3, "0.1234");
  }
  // Residential needs no area; non-residential (2) no population; "0" passes.
  EXPECT_FALSE(ValidateSewageScreen(WithSewage(SewageClass::Residential, "0", "0", "", "").sewage));
  EXPECT_FALSE(ValidateSewageScreen(WithSewage(SewageClass::NonResidential2, "", "", "0", "0").sewage));
}

TEST(SewageFlow, MainScreenButtons) {
  ProjectRecord r;
  NewProject(r);
  r.main.opt7 = false;
  r.main.opt8 = true;
  r.main.txt3 = "0.5";
  r.derived.main.q = 0.5;
  BeginSewageCalculation(r);
  EXPECT_TRUE(r.main.opt7);
  EXPECT_FALSE(r.main.opt8);
  EXPECT_TRUE(r.sewage.opt1);
  EXPECT_EQ(r.main.txt3, "");
  EXPECT_EQ(r.derived.main.q, 0.0);

  // A class already chosen is kept with its entries.
  r.sewage = {false, false, true, "", "", "2000", "0.002"};
  BeginSewageCalculation(r);
  EXPECT_TRUE(r.sewage.opt3);
  EXPECT_EQ(r.sewage.txt_a, "2000");

  r.derived.sewage = {1, 2, 3, 4, 5};
  r.run.exists = true;
  SwitchSewageToDirect(r);
  EXPECT_TRUE(r.main.opt8);
  EXPECT_FALSE(r.main.opt7);
  EXPECT_FALSE(r.sewage.opt3);
  EXPECT_EQ(r.sewage.txt_a, "");
  EXPECT_EQ(r.derived.sewage.P + r.derived.sewage.q1 + r.derived.sewage.A + r.derived.sewage.q2, 0.0);
  EXPECT_FALSE(r.run.exists);
}

}  // namespace
}  // namespace mk
