// The network flow table's window as a user drives it from the main
// window's "流量計算表(&T)" menu: typing along a row, a refusal and its
// focus, NO rows, row commands, the sizing proposal, a row opened as the
// single-facility project, the close confirmation and the printed pages.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QComboBox>
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "calc/network.h"
#include "project_file/network_file.h"
#include "calc/network_levels.h"
#include "ui/main_window.h"
#include "ui/network_node_grid.h"
#include "ui/network_table_menu.h"
#include "ui/network_table_print.h"
#include "ui/network_table_screen.h"
#include "ui/print_image.h"
#include "ui/prompter.h"

namespace mk {
namespace {

NetworkSegment Segment(const char* name, const char* up, const char* down, const char* area,
                       NetworkFacilityKind kind, int size) {
  NetworkSegment s = NewNetworkSegment();
  s.name = name;
  s.upstream = up;
  s.downstream = down;
  s.length = "40";
  s.area = area;
  s.c = "0.6";
  s.kind = kind;
  s.sizeIndex = size;
  s.roughness = NetworkDefaultRoughness(kind);
  s.slope = "5";
  return s;
}

// A line of three: a roomy Hume pipe, then two small VP pipes that fail.
NetworkRecord Line(int extra = 0) {
  NetworkRecord r;
  r.settings.a = "5000";
  r.settings.b = "40";
  r.settings.t1 = "7";
  r.segments = {Segment("A-1", "1", "2", "0.1", NetworkFacilityKind::Hume, 8),
                Segment("A-2", "2", "3", "0.05", NetworkFacilityKind::VP, 2),
                Segment("A-3", "3", "4", "0.8", NetworkFacilityKind::VP, 2)};
  for (int i = 0; i < extra; ++i) {
    const std::string up = "e" + std::to_string(i);
    r.segments.insert(r.segments.begin(), Segment(("E-" + std::to_string(i)).c_str(), up.c_str(), "1", "0.01",
                                                  NetworkFacilityKind::Hume, 8));
  }
  return r;
}

class NetworkTableScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    window = std::make_unique<MainWindow>(prompter);
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get());
    menu = window->findChild<NetworkTableMenu*>();
    ASSERT_NE(menu, nullptr);
    window->findChild<QAction*>("Men_TNew")->trigger();
    screen = menu->screen();
    ASSERT_NE(screen, nullptr);
    view = screen->table();
  }
  void TearDown() override {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // The column whose header carries the control name (its accessible description).
  int column(const char* name) {
    auto* model = view->model();
    for (int c = 0; c < model->columnCount(); ++c)
      if (model->headerData(c, Qt::Horizontal, Qt::AccessibleDescriptionRole).toString() == QLatin1String(name))
        return c;
    ADD_FAILURE() << name;
    return -1;
  }
  // What the view shows, once the proposal column (which follows the other
  // cells in the next turn of the event loop) has caught up.
  QString cell(int row, const char* name) {
    QCoreApplication::processEvents();
    return view->model()->index(row, column(name)).data().toString();
  }
  QModelIndex current() { return view->currentIndex(); }
  // Typing into the current cell and pressing Enter, as a user does.
  void typeHere(const QString& text) {
    QTest::keyClicks(view, text.left(1));  // the first key opens the editor
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
  }
  void typeSetting(const char* name, const QString& text) {
    auto* box = screen->findChild<QLineEdit*>(QLatin1String(name));
    ASSERT_NE(box, nullptr) << name;
    box->selectAll();
    if (text.isEmpty())
      QTest::keyClick(box, Qt::Key_Delete);
    else
      QTest::keyClicks(box, text);
  }
  // The worked example with levels (every check 適); its node grid.
  void openLevels() {
    ASSERT_TRUE(menu->openTableFile(QStringLiteral(MK_TEST_DATA_DIR "/network/levels.mkt")));
    screen = menu->screen();
    view = screen->table();
    grid = screen->findChild<NetworkNodeGrid*>("grd_nodes");
    ASSERT_NE(grid, nullptr);
  }
  QModelIndex node(int row, int column) { return grid->model()->index(row, column); }
  // Typing into the node grid's current cell and pressing Enter.
  void typeInGrid(const QString& text) {
    QTest::keyClicks(grid, text.left(1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
  }
  void click(const char* name) {
    auto* button = screen->findChild<QPushButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
  }

  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
  NetworkTableMenu* menu = nullptr;
  NetworkTableScreen* screen = nullptr;
  NetworkTableView* view = nullptr;
  NetworkNodeGrid* grid = nullptr;
};

TEST_F(NetworkTableScreenTest, MenuStandsBeforeHelpAndNamesItsControls) {
  const QList<QAction*> bar = window->menuBar()->actions();
  const auto help = bar.indexOf(window->findChild<QMenu*>("Men_H")->menuAction());
  ASSERT_GT(help, 0);
  EXPECT_EQ(bar[help - 1]->text(), QStringLiteral("流量計算表(&T)"));
  QStringList entries;
  for (QAction* a : window->findChild<QMenu*>("Men_T")->actions())
    if (!a->isSeparator()) entries << a->text();
  EXPECT_EQ(entries, (QStringList{"新規作成(&N)", "開く(&O)", "上書き保存(&S)", "名前をつけて保存(&A)", "印刷(&P)",
                                  "PDF出力(&D)", "CSV出力(&E)", "計算結果のCSV出力(&R)", "CSV読込(&I)"}));
  // Caption as accessible name, control name as description.
  auto* a = screen->findChild<QLineEdit*>("a");
  EXPECT_EQ(a->accessibleName(), QStringLiteral("定数ａ"));
  EXPECT_EQ(a->accessibleDescription(), QStringLiteral("a"));
  EXPECT_EQ(view->model()->headerData(column("sum_area"), Qt::Horizontal, Qt::AccessibleTextRole).toString(),
            QStringLiteral("面積 累計(ha)"));
  EXPECT_EQ(view->model()->index(0, column("slope")).data(Qt::AccessibleDescriptionRole).toString(), "slope");
}

TEST_F(NetworkTableScreenTest, EnterMovesRightOverTheInputsAndEveryEditRecomputes) {
  typeSetting("a", "5000");
  typeSetting("b", "40");
  typeSetting("t1", "7");
  view->setFocus();
  view->setCurrentIndex(view->model()->index(0, 0));
  const char* inputs[][2] = {{"name", "A-1"}, {"upstream", "1"}, {"downstream", "2"},
                             {"length", "40"}, {"area", "0.5"},  {"runoff", "0.6"}};
  for (const auto& [name, text] : inputs) {
    ASSERT_EQ(current().column(), column(name)) << name;
    typeHere(QString::fromUtf8(text));
  }
  // The computed columns between C and the sewage flow are passed over.
  EXPECT_EQ(current().column(), column("sewage"));
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(current().column(), column("kind"));
  QTest::keyClick(view, Qt::Key_Return);
  ASSERT_EQ(current().column(), column("slope"));
  typeHere("5");
  EXPECT_EQ(current().column(), column("roughness"));
  // The table now computes: the row as the engine gives it.
  ASSERT_TRUE(screen->computation().ok());
  const auto texts = NetworkRowTexts(screen->record(), screen->computation().table.rows[0]);
  EXPECT_EQ(cell(0, "q1").toStdString(), texts[static_cast<std::size_t>(column("q1"))]);
  EXPECT_FALSE(cell(0, "verdict").isEmpty());
  // After the depth come the level inputs (管厚, then 管底高 上流), and past
  // the row's last input Enter goes on to the next row's first.
  screen->model()->insertSegment(1, NewNetworkSegment());
  view->setCurrentIndex(view->model()->index(0, column("depth")));
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(current(), view->model()->index(0, column("wall")));
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(current(), view->model()->index(0, column("invert")));
  QTest::keyClick(view, Qt::Key_Return);
  EXPECT_EQ(current(), view->model()->index(1, column("name")));
  EXPECT_TRUE(screen->isModified());
}

TEST_F(NetworkTableScreenTest, FacilityCellChangesKindWithItsDefaultsAndDimensions) {
  screen->load(Line(), QString());
  const QModelIndex facility = view->model()->index(1, column("kind"));
  view->setCurrentIndex(facility);
  view->edit(facility);
  auto* kind = view->viewport()->findChild<QComboBox*>("kind");
  ASSERT_NE(kind, nullptr);
  kind->setCurrentIndex(static_cast<int>(NetworkFacilityKind::Rectangular));
  auto* width = view->viewport()->findChild<QLineEdit*>("width");
  auto* height = view->viewport()->findChild<QLineEdit*>("height");
  ASSERT_TRUE(width && height && width->isVisibleTo(kind->parentWidget()));
  QTest::keyClicks(width, "1.2");
  QTest::keyClicks(height, "0.9");
  QTest::keyClick(height, Qt::Key_Return);
  const NetworkSegment& s = screen->record().segments[1];
  EXPECT_EQ(s.kind, NetworkFacilityKind::Rectangular);
  EXPECT_EQ(s.B, "1.2");
  EXPECT_EQ(s.H, "0.9");
  EXPECT_EQ(s.roughness, NetworkDefaultRoughness(NetworkFacilityKind::Rectangular));
  EXPECT_EQ(s.depthIndex, NetworkDefaultDepthIndex(NetworkFacilityKind::Rectangular));
  EXPECT_EQ(current(), view->model()->index(1, column("slope")));
}

TEST_F(NetworkTableScreenTest, SavedTableAndItsCsvComeBackThroughTheMenu) {
  screen->load(Line(), QString());
  QTemporaryDir dir;
  prompter.files = {dir.filePath("net"), dir.filePath("rows")};
  window->findChild<QAction*>("Men_TSav")->trigger();
  EXPECT_EQ(screen->fileName(), dir.filePath("net.mkt"));
  EXPECT_FALSE(screen->isModified());
  window->findChild<QAction*>("Men_TCsvOut")->trigger();
  const NetworkRecord saved = screen->record();
  // The computed table as CSV, beside the rows: the core's bytes.
  prompter.files = {dir.filePath("results")};
  window->findChild<QAction*>("Men_TCsvRes")->trigger();
  QFile results(dir.filePath("results.csv"));
  ASSERT_TRUE(results.open(QIODevice::ReadOnly));
  EXPECT_EQ(results.readAll(), ExportNetworkResultsCsv(saved, screen->computation().table).bytes);

  view->setCurrentIndex(view->model()->index(0, 0));
  click("cmd_delete");
  prompter.files = {dir.filePath("rows.csv")};
  prompter.answers = {PromptAnswer::Ok};  // replace the rows
  window->findChild<QAction*>("Men_TCsvIn")->trigger();
  EXPECT_EQ(screen->record().segments, saved.segments);
  prompter.files = {dir.filePath("net.mkt")};
  prompter.answers = {PromptAnswer::Ok};  // the edit is dropped
  window->findChild<QAction*>("Men_TOpn")->trigger();
  EXPECT_EQ(screen->record(), saved);
  EXPECT_FALSE(screen->isModified());
}

TEST_F(NetworkTableScreenTest, RefusalIsShownWithFocusOnTheSettingOrCellItNames) {
  screen->load(Line(), QString());
  typeSetting("a", "");
  click("cmd_check");
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests.last().title, QStringLiteral("エラーメッセージ"));
  EXPECT_EQ(prompter.lastText(), QStringLiteral("定数ａを入力してください。"));
  EXPECT_EQ(QApplication::focusWidget(), screen->findChild<QLineEdit*>("a"));
  // Computed columns stay empty while the table is refused.
  EXPECT_TRUE(cell(0, "q1").isEmpty());

  typeSetting("a", "5000");
  view->setCurrentIndex(view->model()->index(1, column("length")));
  typeHere("x");
  view->setCurrentIndex(view->model()->index(0, 0));
  click("cmd_check");
  EXPECT_EQ(prompter.lastText().toStdString(), screen->computation().refusal->message);
  EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("延長 L(m)")));
  EXPECT_EQ(current(), view->model()->index(1, column("length")));
  EXPECT_TRUE(view->hasFocus());
}

TEST_F(NetworkTableScreenTest, NoRowsStandInTheReportsMagenta) {
  screen->load(Line(), QString());
  ASSERT_TRUE(screen->computation().ok());
  EXPECT_EQ(cell(0, "verdict"), QStringLiteral("O.K"));
  EXPECT_EQ(cell(2, "verdict"), QStringLiteral("NO"));
  EXPECT_FALSE(view->model()->index(0, column("q1")).data(Qt::ForegroundRole).isValid());
  for (const char* name : {"name", "q1", "verdict"})
    EXPECT_EQ(view->model()->index(2, column(name)).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 255));
}

TEST_F(NetworkTableScreenTest, GroundLevelsTypedInTheNodeGridMoveTheInvertsAndUndoWithTheTable) {
  openLevels();
  using C = NetworkNodeModel;
  // One row per node in the order the segments name them: 1, 3, 2, 4.
  ASSERT_EQ(grid->model()->rowCount(), 4);
  EXPECT_EQ(node(1, C::NodeColumn).data().toString(), QStringLiteral("3"));
  const QModelIndex invert = view->model()->index(0, column("invert"));
  const QString before = invert.data().toString();
  ASSERT_FALSE(before.isEmpty());  // computed, not typed: grey and still editable
  EXPECT_EQ(invert.data(Qt::BackgroundRole).value<QColor>(), QColor(236, 236, 236));
  EXPECT_TRUE(invert.flags() & Qt::ItemIsEditable);
  EXPECT_FALSE(view->model()->index(0, column("length")).data(Qt::BackgroundRole).isValid());

  grid->setFocus();
  grid->setCurrentIndex(node(0, C::GroundColumn));
  typeInGrid(QStringLiteral("14.2"));
  EXPECT_EQ(screen->record().nodes[0].ground, "14.2");
  EXPECT_EQ(grid->currentIndex(), node(0, C::InvertColumn));  // Enter moves right
  EXPECT_NE(invert.data().toString(), before);
  QTest::keyClick(grid, Qt::Key_Return);
  QTest::keyClick(grid, Qt::Key_Return);
  EXPECT_EQ(grid->currentIndex(), node(1, C::GroundColumn));  // then down
  screen->undo();
  EXPECT_EQ(screen->record().nodes[0].ground, "13.20");
  EXPECT_EQ(node(0, C::GroundColumn).data().toString(), QStringLiteral("13.20"));
  EXPECT_EQ(invert.data().toString(), before);
  EXPECT_FALSE(screen->isModified());

  // Ctrl+V of ground levels from Excel: all or nothing, the refusal naming node and column.
  const NetworkRecord loaded = screen->record();
  QGuiApplication::clipboard()->setText(QStringLiteral("13.5\r\n13.4\r\n標高\r\n"));
  grid->setCurrentIndex(node(0, C::GroundColumn));
  QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.lastText(), QStringLiteral("人孔「2」の地盤高 (m)「標高」は数値で入力してください。"));
  EXPECT_EQ(grid->currentIndex(), node(2, C::GroundColumn));
  EXPECT_EQ(screen->record(), loaded);
  QGuiApplication::clipboard()->setText(QStringLiteral("13.5\r\n13.4\r\n13.3\r\n"));
  grid->setCurrentIndex(node(0, C::GroundColumn));
  QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(screen->record().nodes[1].ground, "13.3");  // node 2, the grid's third row
  screen->undo();  // one step
  EXPECT_EQ(screen->record(), loaded);

  // A node no segment names any more keeps its values, greyed at the end.
  view->setCurrentIndex(view->model()->index(1, column("upstream")));
  typeHere("2a");
  ASSERT_EQ(grid->model()->rowCount(), 5);
  EXPECT_EQ(node(4, C::NodeColumn).data().toString(), QStringLiteral("2"));
  EXPECT_EQ(node(4, C::GroundColumn).data().toString(), QStringLiteral("13.10"));
  EXPECT_TRUE(node(4, C::GroundColumn).data(Qt::ForegroundRole).isValid());
  EXPECT_EQ(screen->record().nodes.size(), loaded.nodes.size());
}

TEST_F(NetworkTableScreenTest, DesignCriteriaAreSettingsWithTheirUndoStepsAndRefusals) {
  openLevels();
  auto* fold = screen->findChild<QToolButton*>("cmd_criteria");
  ASSERT_NE(fold, nullptr);
  auto* maximum = screen->findChild<QLineEdit*>("velocity_max");
  ASSERT_NE(maximum, nullptr);
  EXPECT_FALSE(maximum->isVisible());  // folded at first
  QTest::mouseClick(fold, Qt::LeftButton);
  EXPECT_TRUE(maximum->isVisible());
  EXPECT_EQ(maximum->accessibleName(), QStringLiteral("流速の上限 (m/sec)"));

  // Typing in one box is one step, full-width digits kept half-width.
  auto* minimum = screen->findChild<QLineEdit*>("velocity_min");
  minimum->selectAll();
  QTest::sendKeyEvent(QTest::Click, minimum, Qt::Key_unknown, QStringLiteral("０．"), Qt::NoModifier);
  QTest::sendKeyEvent(QTest::Click, minimum, Qt::Key_unknown, QStringLiteral("７"), Qt::NoModifier);
  EXPECT_EQ(screen->record().settings.criteria.velocityMin, "0.7");
  EXPECT_EQ(screen->findChild<QLineEdit*>("velocity_min")->text(), QStringLiteral("0.7"));
  auto* joint = screen->findChild<QComboBox*>("joint");
  ASSERT_NE(joint, nullptr);
  joint->setCurrentIndex(static_cast<int>(JointMethod::WaterSurface));
  EXPECT_EQ(screen->record().settings.criteria.joint, JointMethod::WaterSurface);
  screen->undo();
  EXPECT_EQ(screen->record().settings.criteria.joint, JointMethod::Crown);
  EXPECT_EQ(joint->currentIndex(), 0);
  screen->undo();
  EXPECT_EQ(screen->record().settings.criteria.velocityMin, "0.8");
  EXPECT_FALSE(screen->canUndo());

  // A criterion refused: its box gets the focus, the group unfolded for it.
  typeSetting("velocity_max", "0.5");
  QTest::mouseClick(fold, Qt::LeftButton);
  ASSERT_FALSE(maximum->isVisible());
  view->setFocus();
  click("cmd_check");
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("流速の上限")));
  EXPECT_TRUE(maximum->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), maximum);
}

TEST_F(NetworkTableScreenTest, ANodeRefusalFocusesItsGridCell) {
  openLevels();
  grid->setCurrentIndex(node(3, NetworkNodeModel::InvertColumn));
  grid->setFocus();
  typeInGrid(QStringLiteral("x"));
  ASSERT_FALSE(screen->computation().ok());
  EXPECT_EQ(node(3, NetworkNodeModel::InvertColumn).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 214, 214));
  view->setFocus();
  click("cmd_check");
  EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("人孔「4」"))) << prompter.lastText().toStdString();
  EXPECT_EQ(QApplication::focusWidget(), grid);
  EXPECT_EQ(grid->currentIndex(), node(3, NetworkNodeModel::InvertColumn));
}

TEST_F(NetworkTableScreenTest, FailedChecksAreMarkedAndATableWithoutGroundLevelsSaysSoOnItsMessageLine) {
  openLevels();
  auto* message = screen->findChild<QLabel*>("lbl_msg");
  EXPECT_FALSE(message->text().contains(QString::fromUtf8(kNoLevelsNotice)));
  EXPECT_EQ(message->text(), QStringLiteral("全3区間 O.K　照査 全区間 適"));
  EXPECT_EQ(cell(2, "check"), QStringLiteral("適"));
  EXPECT_FALSE(view->model()->index(2, column("check")).data(Qt::BackgroundRole).value<QColor>() ==
               QColor(255, 204, 255));
  // Node 3's invert fixed too high: the segment leaving it lacks cover.
  screen->nodeModel()->setCellText(1, NetworkNodeModel::InvertColumn, QStringLiteral("12.5"));
  ASSERT_TRUE(screen->computation().ok());
  EXPECT_TRUE(cell(2, "check").contains(QStringLiteral("土被り")));
  EXPECT_EQ(view->model()->index(2, column("check")).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 204, 255));
  EXPECT_EQ(cell(2, "invert"), QStringLiteral("12.500"));
  EXPECT_EQ(message->text(), QStringLiteral("全3区間 O.K　照査 1区間が不適です。"));

  // No ground levels: the notice on the message line, never a dialog.
  prompter.clear();
  screen->load(Line(), QString());
  EXPECT_TRUE(message->text().contains(QString::fromUtf8(kNoLevelsNotice)));
  EXPECT_EQ(message->text().count(QString::fromUtf8(kNoLevelsNotice)), 1);
  EXPECT_TRUE(prompter.requests.isEmpty());
}

// An edit repaints only the cells it changed and keeps the texts of rows
// it did not change: what the window then shows is what a full repaint of
// a freshly computed table shows, after the edit and after its undo.
TEST_F(NetworkTableScreenTest, AnEditShowsWhatAFreshTableShowsThoughOnlyChangedCellsAreRedrawn) {
  screen->load(Line(30), QString());  // E-29 … E-0 flow into A-1, then
  window->resize(1200, 800);
  QCoreApplication::processEvents();
  auto* model = screen->model();
  const int area = column("area");
  view->scrollTo(model->index(model->rowCount() - 1, area));
  view->setFocus();
  view->setCurrentIndex(model->index(29, area));  // E-0, a head row in view with the rows it flows into
  QCoreApplication::processEvents();
  auto shown = [&] {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QPoint at = view->viewport()->mapTo(window.get(), QPoint(0, 0));
    return window->QWidget::screen()->grabWindow(window->winId(), at.x(), at.y(), view->viewport()->width(),
                                         view->viewport()->height()).toImage();
  };
  auto expectFresh = [&](const char* when) {
    NetworkTableModel fresh;
    fresh.setRecord(screen->record());
    for (int r = 0; r < model->rowCount(); ++r)
      for (int c = 0; c < model->columnCount(); ++c)
        for (int role : {int(Qt::DisplayRole), int(Qt::ForegroundRole), int(Qt::BackgroundRole)})
          ASSERT_EQ(model->index(r, c).data(role), fresh.index(r, c).data(role)) << when << " row " << r << " column " << c;
    const QImage partly = shown();
    view->viewport()->repaint();
    EXPECT_EQ(partly, shown()) << when;
  };
  const QString before = cell(32, "q1");
  typeHere("0.3");
  EXPECT_NE(cell(32, "q1"), before);
  expectFresh("after the edit");
  model->undo();
  EXPECT_EQ(cell(32, "q1"), before);
  expectFresh("after the undo");
}

// The table's cells, drawn with their texts laid out once, look exactly as
// the style draws them: NO rows, marked checks, grey computed cells, the
// current cell and a selection.
TEST_F(NetworkTableScreenTest, CellsLookAsTheStyleDrawsThem) {
  screen->load(Line(12), QString());
  window->resize(1200, 800);
  view->setFocus();
  view->setCurrentIndex(view->model()->index(3, column("area")));
  view->selectionModel()->select(view->model()->index(5, column("q1")), QItemSelectionModel::Select);
  QCoreApplication::processEvents();
  const QImage cached = view->viewport()->grab().toImage();
  QAbstractItemDelegate* own = view->itemDelegate();
  QStyledItemDelegate plain;
  view->setItemDelegate(&plain);
  EXPECT_EQ(cached, view->viewport()->grab().toImage());
  view->setItemDelegate(own);
}

TEST_F(NetworkTableScreenTest, RowsAreAddedDeletedMovedAndSortedDownstream) {
  NetworkRecord r = Line();
  std::swap(r.segments[0], r.segments[2]);
  screen->load(r, QString());
  auto names = [this] {
    QStringList out;
    for (const NetworkSegment& s : screen->record().segments) out << QString::fromStdString(s.name);
    return out;
  };
  view->setCurrentIndex(view->model()->index(1, 0));
  click("cmd_add");
  ASSERT_EQ(screen->record().segments.size(), 4u);
  EXPECT_EQ(screen->record().segments[2].upstream, "3");  // starts where A-2 ends
  EXPECT_EQ(screen->record().segments[2].sizeIndex, 2);  // with its pipe, slope and n
  EXPECT_EQ(screen->record().segments[2].slope, "5");
  EXPECT_EQ(current().row(), 2);
  click("cmd_delete");
  EXPECT_EQ(names(), (QStringList{"A-3", "A-2", "A-1"}));
  view->setCurrentIndex(view->model()->index(2, 0));
  click("cmd_up");
  EXPECT_EQ(names(), (QStringList{"A-3", "A-1", "A-2"}));
  EXPECT_EQ(current().row(), 1);
  click("cmd_sort");
  EXPECT_EQ(names(), (QStringList{"A-1", "A-2", "A-3"}));
}

TEST_F(NetworkTableScreenTest, SizingProposalIsAppliedOnlyWhenAsked) {
  screen->load(Line(), QString());
  const NetworkSizing sizing = ProposeNetworkSizes(screen->record());
  ASSERT_TRUE(sizing.proposals[1].changes());
  EXPECT_TRUE(cell(1, "proposal").startsWith(QStringLiteral("→ VP")));
  EXPECT_EQ(screen->record().segments[1].sizeIndex, 2);  // unchanged until applied
  view->setCurrentIndex(view->model()->index(1, 0));
  click("cmd_apply");
  EXPECT_EQ(screen->record().segments[1].sizeIndex, *sizing.proposals[1].proposedSize);
  EXPECT_EQ(screen->record().segments[2].sizeIndex, 2);
  click("cmd_apply_all");
  for (const NetworkSizeProposal& p : ProposeNetworkSizes(screen->record()).proposals) EXPECT_FALSE(p.changes());
}

TEST_F(NetworkTableScreenTest, RowDeleteAndApplyingEveryProposalAreUndoneAndRedoneAsOneStepEach) {
  screen->load(Line(), QString());
  const NetworkRecord loaded = screen->record();
  EXPECT_FALSE(screen->canUndo());
  int signalled = 0;
  QObject::connect(screen, &NetworkTableScreen::undoStateChanged, [&] { ++signalled; });
  view->setCurrentIndex(view->model()->index(1, column("length")));
  click("cmd_delete");
  ASSERT_EQ(screen->record().segments.size(), 2u);
  EXPECT_TRUE(screen->canUndo());
  EXPECT_GT(signalled, 0);
  screen->undo();
  EXPECT_EQ(screen->record(), loaded);
  EXPECT_EQ(cell(1, "name"), QStringLiteral("A-2"));
  EXPECT_FALSE(screen->isModified());
  EXPECT_TRUE(screen->canRedo());
  screen->redo();
  EXPECT_EQ(screen->record().segments.size(), 2u);
  screen->undo();

  click("cmd_apply_all");
  const NetworkRecord applied = screen->record();
  ASSERT_NE(applied, loaded);
  EXPECT_FALSE(cell(1, "proposal").startsWith(QStringLiteral("→")));
  screen->undo();
  EXPECT_EQ(screen->record(), loaded);
  // The cells follow the record put back: the proposal and the verdict again.
  EXPECT_TRUE(cell(1, "proposal").startsWith(QStringLiteral("→ VP")));
  EXPECT_EQ(cell(2, "verdict"), QStringLiteral("NO"));
  screen->redo();
  EXPECT_EQ(screen->record(), applied);
  EXPECT_FALSE(screen->canRedo());

  // Typing on in one setting box is one step; a new edit drops the redo.
  typeSetting("title", "Main");
  typeSetting("a", "6000");
  screen->undo();
  EXPECT_EQ(screen->record().settings.a, "5000");
  EXPECT_EQ(screen->findChild<QLineEdit*>("a")->text(), QStringLiteral("5000"));
  EXPECT_EQ(screen->record().settings.title, "Main");
  screen->undo();
  EXPECT_EQ(screen->record(), applied);
}

TEST_F(NetworkTableScreenTest, ExcelKeysPasteAllOrNothingCopyFillDownAndTakeFullWidthNumbers) {
  screen->load(Line(), QString());
  const NetworkRecord loaded = screen->record();
  // A 3 x 4 block from Excel on 管種・寸法 .. 水深; one depth is not in its list.
  const QString block = QStringLiteral(
      "VP - φ200\t6\t0.011\t水深８割\r\n"
      "VP - φ200\t7\t0.011\t水深Ｘ\r\n"
      "VP - φ200\t8\t0.011\t水深８割\r\n");
  QGuiApplication::clipboard()->setText(block);
  view->setFocus();
  view->setCurrentIndex(view->model()->index(0, column("kind")));
  QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("「水深Ｘ」"))) << prompter.lastText().toStdString();
  EXPECT_TRUE(prompter.lastText().contains(QStringLiteral("A-2")));
  EXPECT_EQ(screen->record(), loaded);  // nothing of the block
  EXPECT_EQ(current(), view->model()->index(1, column("depth")));
  EXPECT_FALSE(screen->canUndo());

  // The block without the bad value, from the last row: two rows are added.
  QGuiApplication::clipboard()->setText(QString(block).replace(QStringLiteral("水深Ｘ"), QStringLiteral("水深８割")));
  view->setCurrentIndex(view->model()->index(2, column("kind")));
  QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(screen->record().segments.size(), 5u);
  EXPECT_EQ(screen->record().segments[4].slope, "8");
  EXPECT_EQ(cell(3, "slope"), QStringLiteral("7"));
  screen->undo();  // one step
  EXPECT_EQ(screen->record(), loaded);

  // Ctrl+C: the selection as tab-separated text with CR LF.
  view->selectionModel()->select(QItemSelection(view->model()->index(0, column("length")),
                                                view->model()->index(1, column("area"))),
                                 QItemSelectionModel::ClearAndSelect);
  view->selectionModel()->setCurrentIndex(view->model()->index(0, column("length")), QItemSelectionModel::NoUpdate);
  QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("40\t0.1\r\n40\t0.05\r\n"));

  // Ctrl+D fills the slope of the first row down; Delete clears.
  view->selectionModel()->select(QItemSelection(view->model()->index(0, column("slope")),
                                                view->model()->index(2, column("slope"))),
                                 QItemSelectionModel::ClearAndSelect);
  screen->model()->setData(view->model()->index(0, column("slope")), QStringLiteral("９"));
  view->selectionModel()->setCurrentIndex(view->model()->index(0, column("slope")), QItemSelectionModel::NoUpdate);
  QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
  for (const NetworkSegment& s : screen->record().segments) EXPECT_EQ(s.slope, "9");
  QTest::keyClick(view, Qt::Key_Delete);
  for (const NetworkSegment& s : screen->record().segments) EXPECT_EQ(s.slope, "");

  // Full-width digits and point typed in a number cell are kept half-width.
  view->setCurrentIndex(view->model()->index(0, column("length")));
  screen->model()->setData(current(), QStringLiteral("２５．５"));
  EXPECT_EQ(screen->record().segments[0].length, "25.5");
  EXPECT_EQ(cell(0, "length"), QStringLiteral("25.5"));
}

TEST_F(NetworkTableScreenTest, RowOpensAsTheSingleFacilityProjectAfterConfirmation) {
  screen->load(Line(), QString());
  view->setCurrentIndex(view->model()->index(2, 0));
  click("cmd_open_row");
  ASSERT_NE(window->findScreen("Form25"), nullptr);
  const NetworkRow& row = screen->computation().table.rows[2];
  EXPECT_DOUBLE_EQ(window->record().run.Q1, row.Q1);
  EXPECT_DOUBLE_EQ(window->record().run.Q2, row.Q2);
  EXPECT_EQ(window->record().run.verdict, Verdict::NO);
  EXPECT_TRUE(window->fileName().isEmpty());
  // A project is open now: the next row asks first, and Cancel keeps it.
  prompter.clear();
  prompter.answers = {PromptAnswer::Cancel};
  view->setCurrentIndex(view->model()->index(0, 0));
  click("cmd_open_row");
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, QStringLiteral("確認"));
  EXPECT_DOUBLE_EQ(window->record().run.Q1, row.Q1);
}

TEST_F(NetworkTableScreenTest, ClosingAnUnsavedTableAsksFirst) {
  view->setCurrentIndex(view->model()->index(0, 0));
  typeHere("A-1");
  auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
  prompter.answers = {PromptAnswer::Cancel};
  sub->close();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, QStringLiteral("確認"));
  EXPECT_EQ(prompter.requests[0].text, QStringLiteral("流量計算表の変更を保存しますか？"));
  EXPECT_EQ(prompter.requests[0].buttons, PromptButtons::SaveDiscardCancel);
  ASSERT_NE(menu->screen(), nullptr);
  // Quitting the program asks about the table before anything else.
  prompter.clear();
  prompter.answers = {PromptAnswer::Cancel};
  EXPECT_FALSE(window->close());
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].text, QStringLiteral("流量計算表の変更を保存しますか？"));
  prompter.clear();
  prompter.answers = {PromptAnswer::Discard};
  sub->close();
  EXPECT_EQ(prompter.requests.size(), 1);  // asked once, not again by the table itself
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(menu->screen(), nullptr);
}

// The printer dialog, choosing an A3 sheet and a PDF file as its printer.
class A3PrintDialog : public PrintDialogRunner {
 public:
  bool hasPrinters() const override { return true; }
  bool run(QPrinter& printer, QWidget*) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A3));
    return true;
  }
  QString path;
};

QString PdfText(const QString& path) {
  QFile pdf(path);
  return pdf.open(QIODevice::ReadOnly) ? QString::fromLatin1(pdf.readAll()) : QString();
}

// The header band of a page as drawn (title, settings and column captions).
QImage HeaderBand(const NetworkSheet& sheet, const NetworkPageLayout& layout, int page, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawNetworkPage(painter, sheet, layout, page);
  painter.end();
  return image.copy(0, 0, size.width(), static_cast<int>(layout.headerBottom()) + 1);
}

TEST_F(NetworkTableScreenTest, PagesRepeatTheHeaderKeepEveryColumnAndGoToPdf) {
  screen->load(Line(60), QString());
  ASSERT_TRUE(screen->computation().ok());
  const NetworkSheet sheet = MakeNetworkSheet(screen->record(), screen->computation().table);

  // A4 landscape at 150 dpi: the width is scaled to the page, rows split over pages.
  const QSize a4(1754, 1240);
  QImage probe(a4, QImage::Format_RGB32);
  probe.setDotsPerMeterX(5906);
  probe.setDotsPerMeterY(5906);
  const NetworkPageLayout layout = LayoutNetworkPages(sheet, NetworkSheetFont(), &probe, QRectF(QPointF(0, 0), a4));
  // Two column groups (flows through 判定, then levels and checks), each
  // headed by the segment's name and nodes, each fitting the page.
  ASSERT_EQ(layout.groups.size(), 2u);
  EXPECT_EQ(sheet.captions[layout.groups[0].back()], QStringLiteral("判定"));
  EXPECT_EQ(sheet.captions[layout.groups[1][3]], QStringLiteral("管厚 t(m)"));
  EXPECT_EQ(layout.groups[0].size() + layout.groups[1].size(), static_cast<std::size_t>(sheet.captions.size()) + 3);
  for (int g = 0; g < 2; ++g) EXPECT_LE(layout.groupWidth(g) * layout.scale, a4.width() + 0.5);
  ASSERT_GE(layout.rowPages, 2);
  EXPECT_EQ(layout.rowPages, (63 + layout.rowsPerPage - 1) / layout.rowsPerPage);
  EXPECT_EQ(layout.pageCount, 2 * layout.rowPages);
  const QImage first = HeaderBand(sheet, layout, 0, a4);
  EXPECT_EQ(HeaderBand(sheet, layout, layout.rowPages - 1, a4), first);
  EXPECT_NE(HeaderBand(sheet, layout, layout.rowPages, a4), first);
  EXPECT_EQ(HeaderBand(sheet, layout, layout.pageCount - 1, a4), HeaderBand(sheet, layout, layout.rowPages, a4));
  int ink = 0;
  for (int y = 0; y < first.height(); ++y)
    for (int x = 0; x < first.width(); x += 4) ink += qGray(first.pixel(x, y)) < 128 ? 1 : 0;
  EXPECT_GT(ink, 100);
  // A3 takes more rows on a page.
  const NetworkPageLayout a3 =
      LayoutNetworkPages(sheet, NetworkSheetFont(), &probe, QRectF(0, 0, a4.height() * 2, a4.width() * 1.0));
  EXPECT_GT(a3.rowsPerPage, layout.rowsPerPage);

  // PDF出力: landscape A4 pages, as many as the layout says.
  QTemporaryDir dir;
  const QString path = dir.filePath("table.pdf");
  prompter.files = {path};
  window->findChild<QAction*>("Men_TPdf")->trigger();
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QString bytes = QString::fromLatin1(pdf.readAll());
  EXPECT_GE(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 2);
  EXPECT_TRUE(bytes.contains(QRegularExpression(QStringLiteral("/MediaBox \\[0 0 84[12]\\.\\d+ 595"))));

  // 印刷 on the A3 sheet chosen in the printer dialog: landscape A3 pages.
  A3PrintDialog dialog;
  dialog.path = dir.filePath("a3.pdf");
  PrintDialogRunner* previous = SetPrintDialogRunner(&dialog);
  window->findChild<QAction*>("Men_TPrn")->trigger();
  SetPrintDialogRunner(previous);
  EXPECT_TRUE(PdfText(dialog.path).contains(QRegularExpression(QStringLiteral("/MediaBox \\[0 0 119[01]\\.\\d+ 84[12]"))));
}

}  // namespace
}  // namespace mk

namespace mk {
namespace {

TEST_F(NetworkTableScreenTest, IntermediateColumnsAndTheNodeGridFoldAwayAndAreShownWhenAsked) {
  openLevels();
  auto* steps = screen->findChild<QCheckBox*>("chk_steps");
  auto* nodes = screen->findChild<QCheckBox*>("chk_nodes");
  ASSERT_TRUE(steps && nodes);
  EXPECT_FALSE(steps->isChecked());
  for (const char* name : {"sum_area", "ca", "sum_ca", "t1", "t2", "q11", "q12"})
    EXPECT_TRUE(view->isColumnHidden(column(name))) << name;
  for (const char* name : {"t", "intensity", "sewage", "q1", "margin", "verdict"})
    EXPECT_FALSE(view->isColumnHidden(column(name))) << name;
  EXPECT_FALSE(grid->isVisibleTo(screen));
  steps->click();
  EXPECT_FALSE(view->isColumnHidden(column("q11")));
  nodes->click();
  EXPECT_TRUE(grid->isVisibleTo(screen));
  // A node refused while the grid is folded away brings it back.
  nodes->click();
  screen->nodeModel()->setCellText(3, NetworkNodeModel::GroundColumn, QStringLiteral("x"));
  click("cmd_check");
  EXPECT_TRUE(grid->isVisibleTo(screen));
  EXPECT_TRUE(nodes->isChecked());
}

}  // namespace
}  // namespace mk
