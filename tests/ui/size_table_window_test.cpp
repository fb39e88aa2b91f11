// "管径選定" on the catalogue pipe screen: the table for the inputs as they
// stand, the smallest passing size marked and chosen, a row chosen back on
// Form2; without a passing check, the check run's message instead.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "calc/check_run.h"
#include "calc/sizing.h"
#include "fake_screen_host.h"
#include "ui/facility_screens.h"
#include "ui/size_table_window.h"

namespace mk {
namespace {

class SizeTableWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form2 = host.showScreen(QStringLiteral("Form2"), 0, 0);
    ASSERT_NE(form2, nullptr);
  }
  // Hume pipe, C 0.5, A 10000 m2, I 72 mm/hr, sewage typed 0.01, slope 10/1000.
  void passingInputs() {
    ProjectRecord& r = host.record();
    NewProject(r);
    r.main.txt_c = "0.5";
    r.main.txt_a = "10000";
    r.main.txt_i = "72";
    r.main.opt8 = true;
    r.main.txt3 = "0.01";
    r.main.lst_s = 3;
    r.facility.form2.txt1 = "10";
    r.facility.form2.lst_pu = 0;
    qobject_cast<FacilityScreen*>(form2)->refreshFromRecord();
  }
  SizeTableWindow* pressSizes() {
    form2->findChild<QPushButton*>(QStringLiteral("cmdSizes"))->click();
    return form2->findChild<SizeTableWindow*>();
  }

  testing::FakeScreenHost host;
  QWidget* form2 = nullptr;
};

TEST_F(SizeTableWindowTest, ShowsEverySizeMarksTheSmallestPassingAndChoosesARowOnForm2) {
  passingInputs();
  auto* sizes = form2->findChild<QPushButton*>(QStringLiteral("cmdSizes"));
  EXPECT_EQ(sizes->text(), QStringLiteral("管径選定"));
  EXPECT_EQ(sizes->accessibleName(), QStringLiteral("管径選定"));
  SizeTableWindow* window = pressSizes();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(host.prompter_.requests.isEmpty());

  const SizeTableResult expected = SizeTable(host.record());
  QTableWidget* table = window->table();
  ASSERT_EQ(table->rowCount(), static_cast<int>(expected.rows.size()));
  int smallest = -1, outside = 0;
  for (int r = 0; r < table->rowCount(); ++r) {
    const SizingRow& row = expected.rows[static_cast<std::size_t>(r)];
    EXPECT_EQ(table->item(r, 0)->text(), QString::fromStdString(row.label));
    EXPECT_EQ(table->item(r, 7)->text(), row.verdict == Verdict::OK ? QStringLiteral("O.K") : QStringLiteral("NO"));
    EXPECT_EQ(table->item(r, 8)->text().isEmpty(), !row.smallestPassing);
    ASSERT_TRUE(row.V);
    const bool inRange = *row.V >= 0.8 && *row.V <= 3.0;
    EXPECT_EQ(table->item(r, 9)->text(), inRange ? QStringLiteral("範囲内") : QStringLiteral("範囲外")) << r;
    outside += inRange ? 0 : 1;
    if (row.smallestPassing) smallest = r;
  }
  ASSERT_GT(smallest, 0);
  // At 10 ‰ the largest Hume pipes run faster than the usual range.
  EXPECT_GT(outside, 0);
  EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("lblRange"))->text().contains(QStringLiteral("0.8～3.0m/sec")));
  EXPECT_EQ(table->currentRow(), smallest);

  // Enter on the table chooses the current row: Form2 shows it, the record
  // holds it, and the result of the old size is withdrawn.
  const int discards = host.discardCount;
  QTest::keyClick(table, Qt::Key_Return);
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(form2->findChild<QListWidget*>(QStringLiteral("lst_pu"))->currentRow(), smallest);
  EXPECT_EQ(host.record().facility.form2.lst_pu, smallest);
  EXPECT_GT(host.discardCount, discards);
}

TEST_F(SizeTableWindowTest, WithoutAPassingCheckShowsTheCheckRunsMessageAndFocus) {
  passingInputs();
  host.record().facility.form2.txt1.clear();  // no slope
  ProjectRecord copy = host.record();
  const CheckRunOutcome outcome = CheckRun(copy);
  ASSERT_FALSE(outcome.passed);

  EXPECT_EQ(pressSizes(), nullptr);
  ASSERT_EQ(host.prompter_.requests.size(), 1);
  EXPECT_EQ(host.prompter_.requests.first().title, QStringLiteral("エラーメッセージ"));
  EXPECT_EQ(host.prompter_.lastText(), QString::fromStdString(outcome.failure.message));
  EXPECT_EQ(host.lastFocusRequest, QString::fromStdString(outcome.failure.focus));
}

}  // namespace
}  // namespace mk
