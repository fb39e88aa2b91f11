// The rainfall-intensity formula library: 登録 and 呼出 on the intensity
// screen, the file in the configuration folder, export and import.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/intensity_library.h"
#include "ui/rainfall_intensity_screen.h"

namespace mk {
namespace {

class IntensityLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(IntensityLibraryPath());
    OpenIntensityScreen(host);
    screen = host.findScreen("Form12");
    ASSERT_NE(screen, nullptr);
  }
  void TearDown() override { QFile::remove(IntensityLibraryPath()); }

  template <typename T = QPushButton>
  T* find(QWidget* in, const char* name) { return in->findChild<T*>(QLatin1String(name)); }
  void choose(const char* formula, const char* a, const char* b, const char* c = "", const char* d = "") {
    find<QRadioButton>(screen, formula)->click();
    for (auto [box, text] : {std::pair{"txt1", a}, std::pair{"txt2", b}, std::pair{"txt6", c}, std::pair{"txt7", d}})
      QTest::keyClicks(find<EntryBox>(screen, box), QLatin1String(text));
  }
  void registerAs(const QString& name, const QString& source) {
    find(screen, "cmdRegister")->click();
    auto* dialog = find<QDialog>(screen, "IntensityRegister");
    ASSERT_NE(dialog, nullptr);
    find<QLineEdit>(dialog, "txtName")->setText(name);
    find<QLineEdit>(dialog, "txtSource")->setText(source);
    find(dialog, "cmd1")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  testing::FakeScreenHost host;
  QWidget* screen = nullptr;
};

TEST_F(IntensityLibraryTest, RegisteredFormulaIsStoredAndRecalled) {
  EXPECT_FALSE(QFile::exists(IntensityLibraryPath()));  // nothing shipped
  EXPECT_EQ(find(screen, "cmdRecall")->accessibleName(), QStringLiteral("呼出"));
  choose("opt5", "5000", "40", "0.7", "0.3");  // ⑤ uses c and d
  registerAs(QStringLiteral("A市 10年"), QStringLiteral("A市下水道設計指針 p.12"));
  EXPECT_TRUE(host.prompter_.requests.isEmpty()) << host.prompter_.lastText().toStdString();

  QFile file(IntensityLibraryPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
  EXPECT_EQ(root.value("format").toString(), QStringLiteral("mirukana-intensity-formulas"));
  EXPECT_EQ(root.value("formulas").toArray().first().toObject(),
            (QJsonObject{{"name", QStringLiteral("A市 10年")}, {"source", QStringLiteral("A市下水道設計指針 p.12")},
                         {"formula", 5}, {"a", "5000"}, {"b", "40"}, {"c", "0.7"}, {"d", "0.3"}}));

  // Another formula on the screen; 呼出 and Enter bring the entry back.
  choose("opt1", "3000", "20");
  find(screen, "cmdRecall")->click();
  auto* recall = find<QDialog>(screen, "IntensityLibrary");
  ASSERT_NE(recall, nullptr);
  QTest::keyClick(find<QTableWidget>(recall, "grdFormulas"), Qt::Key_Return);
  const IntensityScreenInputs& s = host.record().intensity;
  EXPECT_TRUE(s.opt5 && !s.opt1);
  EXPECT_EQ(s.txt1 + " " + s.txt2 + " " + s.txt6 + " " + s.txt7, "5000 40 0.7 0.3");
  EXPECT_EQ(find<EntryBox>(screen, "txt7")->text(), QStringLiteral("0.3"));
}

TEST_F(IntensityLibraryTest, IncompleteFormulaOrUnreadableLibraryIsRefusedWithAMessage) {
  choose("opt4", "", "");
  find(screen, "cmdRegister")->click();
  EXPECT_EQ(find<QDialog>(screen, "IntensityRegister"), nullptr);
  EXPECT_EQ(host.prompter_.lastText(), QStringLiteral("定数ａを入力してください。"));
  EXPECT_EQ(host.lastFocusRequest, QStringLiteral("Form12.txt1"));

  // A library that cannot be read is never written over.
  QDir().mkpath(QFileInfo(IntensityLibraryPath()).absolutePath());
  QFile broken(IntensityLibraryPath());
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a library");
  broken.close();
  choose("opt4", "400", "1.2");
  registerAs(QStringLiteral("B町"), QString());
  EXPECT_TRUE(host.prompter_.lastText().contains(QStringLiteral("読み込めませんでした")));
  ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
  EXPECT_EQ(broken.readAll(), QByteArray("not a library"));
}

TEST_F(IntensityLibraryTest, ExportAndImportShareEntriesReplacingByName) {
  QTemporaryDir dir;
  const QString shared = dir.filePath("shared.json");
  const IntensityLibraryEntry mine{"C市", "C市要綱", IntensityFormula::Two, "483.33", "1.4", {}, {}};
  const IntensityLibraryEntry other{"D村", {}, IntensityFormula::One, "1", "2", {}, {}};
  IntensityLibraryEntry old = mine;
  old.a = "400";
  ASSERT_FALSE(WriteIntensityLibrary(shared, {mine}));
  ASSERT_FALSE(WriteIntensityLibrary(IntensityLibraryPath(), {old, other}));

  find(screen, "cmdRecall")->click();
  auto* recall = find<QDialog>(screen, "IntensityLibrary");
  ASSERT_NE(recall, nullptr);
  host.prompter_.files << shared << dir.filePath("out");
  find(recall, "cmdImport")->click();
  EXPECT_EQ(ReadIntensityLibrary(IntensityLibraryPath()).entries, (QList<IntensityLibraryEntry>{mine, other}));
  EXPECT_EQ(find<QTableWidget>(recall, "grdFormulas")->rowCount(), 2);
  find(recall, "cmdExport")->click();
  EXPECT_EQ(ReadIntensityLibrary(dir.filePath("out.json")).entries, (QList<IntensityLibraryEntry>{mine, other}));
}

}  // namespace
}  // namespace mk
