// The results screen (Form26): captions, the surcharge factor and the colour
// of a capacity that falls short (closing it is in the main window's tests).
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/results_screen.h"

namespace mk {
namespace {

class ResultsScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ProjectRecord& r = host.record();
    r.results = ResultCaptions{"0.1375", "0.0023", "0.7520"};
    r.run.exists = true;
    r.run.Q2 = 0.0023;
  }
  QLabel* label(const char* name) { return screen.findChild<QLabel*>(QString::fromLatin1(name)); }
  QString textOf(const char* name) { return label(name)->text(); }

  testing::FakeScreenHost host;
  ResultsScreen screen{host};
};

TEST_F(ResultsScreenTest, ShowsTheCaptionsInTheirRows) {
  EXPECT_EQ(screen.windowTitle(), "★　計 算 結 果");
  EXPECT_EQ(screen.objectName(), "Form26");
  EXPECT_EQ(textOf("lbl2"), "◎  計画雨水量");
  EXPECT_EQ(textOf("lbl5"), "◎  流　　  　 量");
  EXPECT_EQ(textOf("lbl8"), "○  流　  　   速");
  screen.showResult("1.25", "×", false);
  EXPECT_EQ(textOf("lbl16"), "1.25");
  EXPECT_EQ(textOf("lbl17"), "×");
  EXPECT_EQ(textOf("lbl3"), "0.1375");
  EXPECT_EQ(textOf("lbl6"), "0.0023");
  EXPECT_EQ(textOf("lbl9"), "0.7520");
  EXPECT_EQ(label("lbl6")->accessibleDescription(), "lbl6");
  QStringList captions;
  for (auto* l : screen.findChildren<QLabel*>()) captions << l->text();
  for (const char* caption : {"Ｑ1=", "Ｑ2=", "Ｖ=", "m3/sec", "m/sec"})
    EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
  // The velocity stands to the right of Q2, Q1's factor in front of Q1.
  screen.show();
  EXPECT_GT(label("lbl9")->x(), label("lbl6")->x());
  EXPECT_EQ(label("lbl9")->y(), label("lbl6")->y());
  EXPECT_LT(label("lbl16")->x(), label("lbl3")->x());
  EXPECT_LT(label("lbl3")->y(), label("lbl6")->y());
}

TEST_F(ResultsScreenTest, ShortfallInMagentaUntilTheNextRefresh) {
  screen.showResult(QString(), QString(), true);
  EXPECT_EQ(label("lbl6")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
  EXPECT_NE(label("lbl3")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
  screen.showResult(QString(), QString(), false);
  EXPECT_NE(label("lbl6")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
  EXPECT_TRUE(textOf("lbl16").isEmpty());
  EXPECT_TRUE(textOf("lbl17").isEmpty());
}

}  // namespace
}  // namespace mk
