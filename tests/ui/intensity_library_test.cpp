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
    screen = host.findScreen(QStringLiteral("Form12"));
    ASSERT_NE(screen, nullptr);
  }
  void TearDown() override { QFile::remove(IntensityLibraryPath()); }

  QPushButton* button(const char* name) { return screen->findChild<QPushButton*>(QLatin1String(name)); }
  QDialog* window(const char* name) { return screen->findChild<QDialog*>(QLatin1String(name)); }
  void choose(const char* formula, const char* a, const char* b, const char* c = "", const char* d = "") {
    screen->findChild<QRadioButton*>(QLatin1String(formula))->click();
    for (auto [box, text] : {std::pair{"txt1", a}, std::pair{"txt2", b}, std::pair{"txt6", c}, std::pair{"txt7", d}})
      if (*text) QTest::keyClicks(screen->findChild<EntryBox*>(QLatin1String(box)), QLatin1String(text));
  }
  void registerAs(const QString& name, const QString& source) {
    button("cmdRegister")->click();
    QDialog* dialog = window("IntensityRegister");
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>("txtName")->setText(name);
    dialog->findChild<QLineEdit*>("txtSource")->setText(source);
    dialog->findChild<QPushButton*>("cmd1")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  testing::FakeScreenHost host;
  QWidget* screen = nullptr;
};

TEST_F(IntensityLibraryTest, RegisteredFormulaIsStoredDocumentedAndRecalled) {
  EXPECT_FALSE(QFile::exists(IntensityLibraryPath()));  // nothing shipped
  EXPECT_EQ(button("cmdRegister")->accessibleName(), QStringLiteral("登録"));
  EXPECT_EQ(button("cmdRecall")->accessibleName(), QStringLiteral("呼出"));

  choose("opt5", "5000", "40", "0.7", "0.3");  // ⑤ uses c and d
  registerAs(QStringLiteral("A市 10年"), QStringLiteral("A市下水道設計指針 (2019) p.12"));
  EXPECT_TRUE(host.prompter_.requests.isEmpty()) << host.prompter_.lastText().toStdString();

  QFile file(IntensityLibraryPath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
  EXPECT_EQ(root.value("format").toString(), QStringLiteral("mirukana-intensity-formulas"));
  const QJsonObject stored = root.value("formulas").toArray().first().toObject();
  EXPECT_EQ(stored.value("name").toString(), QStringLiteral("A市 10年"));
  EXPECT_EQ(stored.value("source").toString(), QStringLiteral("A市下水道設計指針 (2019) p.12"));
  EXPECT_EQ(stored.value("formula").toInt(), 5);
  EXPECT_EQ(stored.value("c").toString(), QStringLiteral("0.7"));

  // Another formula on the screen; 呼出 and Enter bring the entry back.
  choose("opt1", "3000", "20");
  button("cmdRecall")->click();
  QDialog* recall = window("IntensityLibrary");
  ASSERT_NE(recall, nullptr);
  auto* table = recall->findChild<QTableWidget*>("grdFormulas");
  ASSERT_EQ(table->rowCount(), 1);
  QTest::keyClick(table, Qt::Key_Return);
  const IntensityScreenInputs& s = host.record().intensity;
  EXPECT_TRUE(s.opt5);
  EXPECT_FALSE(s.opt1);
  EXPECT_EQ(s.txt1, "5000");
  EXPECT_EQ(s.txt2, "40");
  EXPECT_EQ(s.txt6, "0.7");
  EXPECT_EQ(s.txt7, "0.3");
  EXPECT_EQ(screen->findChild<EntryBox*>("txt7")->text(), QStringLiteral("0.3"));
}

TEST_F(IntensityLibraryTest, IncompleteFormulaOrUnreadableLibraryIsRefusedWithAMessage) {
  choose("opt4", "", "");
  button("cmdRegister")->click();
  EXPECT_EQ(window("IntensityRegister"), nullptr);
  EXPECT_EQ(host.prompter_.lastText(), QStringLiteral("定数ａを入力してください。"));
  EXPECT_EQ(host.lastFocusRequest, QStringLiteral("Form12.txt1"));

  // A library that cannot be read is never written over.
  QDir().mkpath(QFileInfo(IntensityLibraryPath()).absolutePath());
  QFile broken(IntensityLibraryPath());
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a library");
  broken.close();
  choose("opt4", "400", "1.2");
  host.prompter_.clear();
  registerAs(QStringLiteral("B町"), QString());
  EXPECT_TRUE(host.prompter_.lastText().contains(QStringLiteral("読み込めませんでした")));
  ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
  EXPECT_EQ(broken.readAll(), QByteArray("not a library"));
}

TEST_F(IntensityLibraryTest, ExportAndImportShareEntriesReplacingByName) {
  QTemporaryDir dir;
  const QString shared = dir.filePath(QStringLiteral("shared.json"));
  const IntensityLibraryEntry mine{QStringLiteral("C市"), QStringLiteral("C市要綱"), IntensityFormula::Two,
                                   QStringLiteral("483.33"), QStringLiteral("1.4"), {}, {}};
  ASSERT_FALSE(WriteIntensityLibrary(shared, {mine}));

  IntensityLibraryEntry old = mine;
  old.a = QStringLiteral("400");
  const IntensityLibraryEntry other{QStringLiteral("D村"), {}, IntensityFormula::One, "1", "2", {}, {}};
  ASSERT_FALSE(WriteIntensityLibrary(IntensityLibraryPath(), {old, other}));

  button("cmdRecall")->click();
  QDialog* recall = window("IntensityLibrary");
  ASSERT_NE(recall, nullptr);
  host.prompter_.files << shared;
  recall->findChild<QPushButton*>("cmdImport")->click();
  EXPECT_EQ(ReadIntensityLibrary(IntensityLibraryPath()).entries, (QList<IntensityLibraryEntry>{mine, other}));
  EXPECT_EQ(recall->findChild<QTableWidget*>("grdFormulas")->rowCount(), 2);

  const QString exported = dir.filePath(QStringLiteral("out"));
  host.prompter_.files << exported;
  recall->findChild<QPushButton*>("cmdExport")->click();
  EXPECT_EQ(ReadIntensityLibrary(exported + ".json").entries, (QList<IntensityLibraryEntry>{mine, other}));

  host.prompter_.clear();
  host.prompter_.files << dir.filePath(QStringLiteral("missing.json"));
  recall->findChild<QPushButton*>("cmdImport")->click();
  EXPECT_EQ(host.prompter_.requests.size(), 1);
  EXPECT_EQ(ReadIntensityLibrary(IntensityLibraryPath()).entries.size(), 2);
}

}  // namespace
}  // namespace mk
