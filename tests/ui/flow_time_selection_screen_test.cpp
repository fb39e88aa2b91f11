// Form17: the kind list and formula, the facility screen beside it, the
// hand-back to Form12, Cancel and reopening.
#include <gtest/gtest.h>

#include "flow_time_test_support.h"
#include "report/flow_report.h"
#include "ui/rainfall_intensity_screen.h"

namespace mk {
namespace {

using testing::FlowTimeFixture;

TEST(FlowTimeSelectionScreen, StartsWithTheKindListAndTheVpPipeBesideIt) {
  FlowTimeFixture f;
  f.open();
  ASSERT_TRUE(f.visible("Form17"));
  EXPECT_EQ(f.host.findScreen("Form17")->windowTitle(), "流量計算");

  auto* list = f.control<QListWidget>("Form17", "lst_s");
  const QStringList expected = {"排水管  ＶＰ管",     "        ＶＵ管",
                                "        強化プラスチック複合管", "        ヒューム管",
                                "        その他円形管", "排水溝  Ｕ型トラフ",
                                "        Ｕ型溝 台形溝", "        その他排水溝"};
  ASSERT_EQ(list->count(), expected.size());
  for (int i = 0; i < list->count(); ++i) EXPECT_EQ(list->item(i)->text(), expected[i]) << i;
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(f.control<QRadioButton>("Form17", "opt1")->text(), "マニング公式");
  EXPECT_EQ(f.control<QRadioButton>("Form17", "opt2")->text(), "クッター公式");
  EXPECT_FALSE(f.control<QRadioButton>("Form17", "opt1")->isChecked());
  EXPECT_FALSE(f.control<QRadioButton>("Form17", "opt2")->isChecked());

  // The VP pipe screen opens at the top, 4860 twips from the left.
  ASSERT_TRUE(f.visible("Form18"));
  EXPECT_EQ(f.left("Form18"), 4860 / 15);
  EXPECT_EQ(f.left("Form17"), 0);
  EXPECT_EQ(f.host.record().flowTime.FlowTimeScreenCode, " 1 ");
  EXPECT_EQ(f.control<QLabel>("Form18", "Label1")->text(), "ＶＰ管");
}

TEST(FlowTimeSelectionScreen, EnterInAFormulaOptionGoesToTheKindList) {
  FlowTimeFixture f;
  f.open();
  auto* opt2 = f.control<QRadioButton>("Form17", "opt2");
  f.click("Form17", "opt2");
  EXPECT_TRUE(f.host.record().flowTime.opt2);
  EXPECT_FALSE(f.host.record().flowTime.opt1);
  opt2->setFocus();
  QTest::keyClick(opt2, Qt::Key_Return);
  EXPECT_EQ(f.focused(), f.control<QListWidget>("Form17", "lst_s"));
}

TEST(FlowTimeSelectionScreen, EachKindOpensItsScreenAndClosesTheOthers) {
  FlowTimeFixture f;
  f.open();
  const struct {
    int kind;
    const char* form;
    const char* code;
  } cases[] = {{4, "Form20", " 3 "}, {6, "Form19", " 2 "}, {7, "Form21", " 4 "}, {5, "Form18", " 1 "}};
  for (const auto& c : cases) {
    f.chooseKind(c.kind);
    EXPECT_TRUE(f.visible(c.form)) << c.kind;
    EXPECT_EQ(f.left(c.form), 324) << c.kind;
    EXPECT_EQ(f.host.record().flowTime.lst_s, c.kind);
    EXPECT_EQ(f.host.record().flowTime.FlowTimeScreenCode, c.code);
    for (const char* other : {"Form18", "Form19", "Form20", "Form21"}) {
      if (QString(other) != c.form) {
        EXPECT_EQ(f.host.findScreen(other), nullptr) << other;
      }
    }
  }
  // The list keeps the keyboard while the facility screen follows it.
  EXPECT_EQ(f.focused(), f.control<QListWidget>("Form17", "lst_s"));
}

TEST(FlowTimeSelectionScreen, DitchAndChannelScreensOpenEmptyAfterTheyWereClosed) {
  FlowTimeFixture f;
  f.open();
  f.chooseKind(6);
  f.type("Form19", "txt_m", "側溝");
  f.chooseKind(7);
  f.type("Form21", "txt_x2", "0.5");
  f.chooseKind(6);
  EXPECT_EQ(f.box("Form19", "txt_m")->text(), "");
  EXPECT_EQ(f.control<QComboBox>("Form19", "cbo1")->currentIndex(), 5);
  f.chooseKind(7);
  EXPECT_EQ(f.box("Form21", "txt_x1")->text(), " 0");
  EXPECT_EQ(f.box("Form21", "txt_x2")->text(), "");
  EXPECT_EQ(f.host.record().flowTime.form21.txt_x[1], "");
}

TEST(FlowTimeSelectionScreen, HumePipeVelocityIsHandedBackToTheIntensityRecord) {
  FlowTimeFixture f;
  f.host.record().intensity.Option7 = true;
  f.open();
  f.chooseKind(3);
  f.control<QListWidget>("Form18", "lst_pu")->setCurrentRow(3);  // φ300
  f.type("Form18", "txt1", "5");
  f.chooseManning();
  f.click("Form18", "cmd1");

  EXPECT_TRUE(f.host.prompter_.requests.isEmpty()) << f.lastMessage().toStdString();
  const IntensityScreenInputs& intensity = f.host.record().intensity;
  EXPECT_EQ(intensity.txt5, "1.1025");
  EXPECT_TRUE(intensity.Option8);
  EXPECT_FALSE(intensity.Option7);
  EXPECT_EQ(f.host.statusNotice(), "雨量強度式 及び 到達時間 （ｔ） の計算は、各地域の開発指導要綱等による事｡");
  EXPECT_EQ(f.host.record().derived.flowTimeSection.name, "ﾋｭｰﾑ管 φ300");

  // Both screens are hidden and keep their inputs for the next opening.
  EXPECT_FALSE(f.visible("Form17"));
  EXPECT_FALSE(f.visible("Form18"));
  f.open();
  EXPECT_TRUE(f.visible("Form17"));
  EXPECT_TRUE(f.visible("Form18"));
  EXPECT_EQ(f.control<QListWidget>("Form17", "lst_s")->currentRow(), 3);
  EXPECT_TRUE(f.control<QRadioButton>("Form17", "opt1")->isChecked());
  EXPECT_EQ(f.control<QListWidget>("Form18", "lst_pu")->currentRow(), 3);
  EXPECT_EQ(f.box("Form18", "txt1")->text(), "5");
}

TEST(FlowTimeSelectionScreen, HandBackGoesThroughTheIntensityScreenWhenItExists) {
  FlowTimeFixture f;
  f.host.record().main.opt4 = true;
  auto* intensity = qobject_cast<RainfallIntensityScreen*>(f.host.showScreen("Form12", 0, 0));
  ASSERT_NE(intensity, nullptr);
  HandBackFlowTimeVelocity(f.host, "Form18", 1.5);
  EXPECT_EQ(f.host.record().intensity.txt5, "1.50");
  EXPECT_TRUE(f.host.record().intensity.Option8);
  auto* txt5 = f.host.control<EntryBox>("Form12", "txt5");
  ASSERT_NE(txt5, nullptr);
  EXPECT_EQ(txt5->text(), "1.50");
  EXPECT_FALSE(txt5->isBordered());
}

TEST(FlowTimeSelectionScreen, AFailedCalculationLeavesTheIntensityValuesAlone) {
  FlowTimeFixture f;
  f.host.record().intensity.txt5 = "0.80";
  f.host.record().intensity.Option7 = true;
  f.open();
  f.type("Form18", "txt1", "5");
  f.click("Form18", "cmd1");  // no formula chosen
  EXPECT_EQ(f.lastMessage(), "流速の計算方法を選択してください。");
  EXPECT_EQ(f.host.prompter_.requests.last().title, "エラーメッセージ");
  EXPECT_EQ(f.focused(), f.control<QRadioButton>("Form17", "opt1"));
  EXPECT_EQ(f.host.record().intensity.txt5, "0.80");
  EXPECT_TRUE(f.host.record().intensity.Option7);
  EXPECT_TRUE(f.visible("Form18"));
}

TEST(FlowTimeSelectionScreen, CancelAfterAVelocityKeepsTheFacilityThatGaveIt) {
  // Form12 keeps the ditch's velocity after a later Cancel, so the report
  // and the project file must go on describing that ditch.
  FlowTimeFixture f;
  f.host.record().main.opt4 = true;
  f.host.record().intensity.Option4 = true;
  f.host.record().intensity.Option6 = true;
  f.host.record().intensity.txt4 = "600";
  f.open();
  f.click("Form17", "opt2");
  f.chooseKind(6);
  for (const auto& [name, text] : {std::pair{"txt_m", "側溝"}, {"txt1", "1.0"}, {"txt2", "1.0"},
                                   {"txt3", "3.0"}, {"txt4", "1.0"}, {"txt5", "5"}, {"txt6", "0.015"}})
    f.type("Form19", name, text);
  f.click("Form19", "cmd1");
  ASSERT_TRUE(f.host.prompter_.requests.isEmpty()) << f.lastMessage().toStdString();
  const std::string velocity = f.host.record().intensity.txt5;
  const FlowReport before = ComposeFlowReport(f.host.record());
  ASSERT_NE(std::find(before.lines.begin(), before.lines.end(),
                      "                    （水深８割、クッター公式による）"),
            before.lines.end());

  // Opened again, edited, drawn anew from the first kind, then cancelled.
  f.open();
  f.type("Form19", "txt1", "2.0");
  f.chooseKind(0);
  f.click("Form18", "cmd2");
  const ProjectRecord& record = f.host.record();
  EXPECT_EQ(record.flowTime.FlowTimeScreenCode, " 0 ");
  EXPECT_EQ(record.flowTime.lst_s, 6);
  EXPECT_TRUE(record.flowTime.opt2);
  EXPECT_EQ(record.flowTime.form19.txt1, "1.0");
  EXPECT_EQ(record.intensity.txt5, velocity);
  EXPECT_EQ(ComposeFlowReport(record).lines, before.lines);

  // The screens go; the next opening starts from the VP pipe with no
  // formula, and cancelling that one keeps the ditch as well.
  EXPECT_FALSE(f.visible("Form17"));
  EXPECT_FALSE(f.visible("Form18"));
  QCoreApplication::processEvents();
  EXPECT_EQ(f.host.findScreen("Form17"), nullptr);
  EXPECT_EQ(f.host.findScreen("Form18"), nullptr);
  f.open();
  EXPECT_EQ(f.host.findScreen("Form19"), nullptr);
  EXPECT_EQ(record.flowTime.FlowTimeScreenCode, " 1 ");
  EXPECT_EQ(f.control<QListWidget>("Form17", "lst_s")->currentRow(), 0);
  EXPECT_FALSE(f.control<QRadioButton>("Form17", "opt2")->isChecked());
  EXPECT_EQ(f.control<QLabel>("Form18", "Label1")->text(), "ＶＰ管");
  f.click("Form18", "cmd2");
  EXPECT_EQ(record.flowTime.lst_s, 6);
  EXPECT_EQ(ComposeFlowReport(record).lines, before.lines);
}

TEST(FlowTimeSelectionScreen, CloseBoxesCancelTheVelocityCalculation) {
  FlowTimeFixture f;
  f.open();
  for (const char* form : {"Form17", "Form20"}) {
    f.chooseKind(4);
    auto* sub = qobject_cast<QMdiSubWindow*>(f.host.findScreen(form)->parentWidget());
    ASSERT_NE(sub, nullptr);
    sub->close();
    EXPECT_FALSE(f.visible("Form17")) << form;
    EXPECT_FALSE(f.visible("Form20")) << form;
    EXPECT_EQ(f.host.record().flowTime.FlowTimeScreenCode, " 0 ") << form;
    QCoreApplication::processEvents();
    EXPECT_EQ(f.host.findScreen("Form17"), nullptr) << form;
    EXPECT_EQ(f.host.findScreen("Form20"), nullptr) << form;
    f.open();
    EXPECT_TRUE(f.visible("Form18")) << form;
  }
}

TEST(FlowTimeSelectionScreen, OpeningAfterAProjectWasReadShowsItsScreenWithItsValues) {
  // As a project file leaves the record: code, Form17 and the ditch inputs.
  FlowTimeFixture f;
  FlowTimeFacilityInputs& inputs = f.host.record().flowTime;
  inputs.FlowTimeScreenCode = " 2 ";
  inputs.opt2 = true;
  inputs.lst_s = 6;
  inputs.form19.txt_m = "Ｕ型側溝";
  inputs.form19.txt1 = "0.3";
  inputs.form19.cbo1 = 0;
  // Showing Form17 through the host alone brings its facility screen.
  f.host.showScreen("Form17", 0, 0);
  EXPECT_TRUE(f.visible("Form19"));
  EXPECT_EQ(f.host.findScreen("Form18"), nullptr);
  EXPECT_EQ(f.control<QListWidget>("Form17", "lst_s")->currentRow(), 6);
  EXPECT_TRUE(f.control<QRadioButton>("Form17", "opt2")->isChecked());
  EXPECT_EQ(f.box("Form19", "txt_m")->text(), "Ｕ型側溝");
  EXPECT_EQ(f.box("Form19", "txt1")->text(), "0.3");
  EXPECT_EQ(f.control<QComboBox>("Form19", "cbo1")->currentText(), "満流");
}

TEST(FlowTimeSelectionScreen, DiscardClosesEverythingAndForgetsTheInputs) {
  FlowTimeFixture f;
  f.open();
  f.chooseKind(4);
  f.type("Form20", "txt1", "0.3");
  DiscardFlowTimeVelocity(f.host);
  EXPECT_EQ(f.host.findScreen("Form17"), nullptr);
  EXPECT_EQ(f.host.findScreen("Form20"), nullptr);
  EXPECT_EQ(f.host.record().flowTime.form20.txt1, "");
  EXPECT_EQ(f.host.record().flowTime.lst_s, 0);
  EXPECT_EQ(f.host.record().flowTime.FlowTimeScreenCode, " 0 ");
}

}  // namespace
}  // namespace mk
