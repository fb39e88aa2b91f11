#include "ui/network_table_screen.h"

#include <QAccessible>
#include <QTimer>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QToolButton>
#include <QStandardItemModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>

#include "calc/catalogue.h"
#include "calc/network_edit.h"
#include "calc/network_levels.h"
#include "ui/intensity_library.h"
#include "ui/main_window.h"
#include "ui/network_node_grid.h"
#include "ui/network_table_print.h"
#include "ui/print_image.h"
#include "ui/profile_window.h"
#include "ui/prompter.h"
#include "ui/widget_support.h"

namespace mk {

namespace nf = network_field;

namespace {

// A 照査 cell naming a failed check: bold on a light ground of the NO rows' magenta.
const QColor kFailedGround(255, 204, 255);
const QColor kFailedText(160, 0, 160);

// Control names of the computed columns, by caption.
QString ComputedColumnName(const std::string& caption) {
  static const std::map<std::string, const char*> kNames{
      {"面積 累計(ha)", "sum_area"},
      {"C·A 区間", "ca"},
      {"C·A 累計", "sum_ca"},
      {"流入時間 t1(min)", "t1"},
      {"流下時間 t2(min)", "t2"},
      {"流達時間 t(min)", "t"},
      {"降雨強度 I(mm/hr)", "intensity"},
      {"計画雨水量 Q11(m3/sec)", "q11"},
      {"計画汚水量 Q12(m3/sec)", "q12"},
      {"計画下水量 Q1(m3/sec)", "q1"},
      {"流速 V(m/sec)", "velocity"},
      {"流下能力 Q2(m3/sec)", "capacity"},
      {"余裕率 (%)", "margin"},
      {"判定", "verdict"},
      {"地盤高 上流(m)", "ground_up"},
      {"土被り 上流(m)", "cover_up"},
      {"地盤高 下流(m)", "ground_down"},
      {"管底高 下流(m)", "invert_down"},
      {"土被り 下流(m)", "cover_down"},
      {"段差(m)", "drop"},
      {"水深比 h/D", "depth_ratio"},
      {"実流速 (m/sec)", "flow_velocity"},
      {"照査", "check"},
      {"備考", "notes"},
  };
  const auto it = kNames.find(caption);
  return it != kNames.end() ? QString::fromLatin1(it->second) : QString();
}

const char* const kProposalCaption = "寸法提案";

const char* const kKindCaptions[] = {"ＶＰ管", "ＶＵ管", "強化プラスチック複合管", "ヒューム管", "その他円形管", "矩形管"};


QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Std(const QString& s) { return s.toStdString(); }

bool IsFacilityField(const std::string& field) {
  for (const char* f : {nf::kKind, nf::kSize, nf::kFacilityName, nf::kDiameter, nf::kWidth, nf::kHeight})
    if (field == f) return true;
  return false;
}

// The level inputs: their cells show the computed value when nothing is typed.
bool IsLevelInput(const char* field) {
  return field && (std::string_view(field) == nf::kWall || std::string_view(field) == nf::kInvert);
}

const char* ColumnField(int column) {
  const auto& columns = NetworkColumns();
  return column >= 0 && column < static_cast<int>(columns.size()) ? columns[static_cast<std::size_t>(column)].field
                                                                  : nullptr;
}

// ---------------------------------------------------------------- editors

// The 管種・寸法 cell's editor: the kind, and the catalogue size, or the
// name with D, or the name with B and H.  Wider than its cell while open.
class FacilityEditor : public QWidget {
 public:
  explicit FacilityEditor(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    kind_ = new QComboBox(this);
    NameControl(kind_, QString::fromLatin1(nf::kKind), QStringLiteral("管種"));
    for (const char* caption : kKindCaptions) kind_->addItem(QString::fromUtf8(caption));
    size_ = new QComboBox(this);
    NameControl(size_, QString::fromLatin1(nf::kSize), QStringLiteral("管径"));
    name_ = box(nf::kFacilityName, "施設名", 90);
    d_ = box(nf::kDiameter, "直径 D(m)", 56);
    b_ = box(nf::kWidth, "巾 B(m)", 56);
    h_ = box(nf::kHeight, "高さ H(m)", 56);
    // Compact: the cell's editor covers its neighbours only as far as needed.
    for (QComboBox* combo : {kind_, size_}) {
      combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
      combo->setMinimumContentsLength(12);
    }
    row->addWidget(kind_);
    row->addWidget(size_);
    row->addWidget(name_);
    for (QLineEdit* e : {d_, b_, h_}) row->addWidget(e);
    setFocusProxy(kind_);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int) { showKind(); });
  }

  void load(const NetworkSegment& s) {
    previousD_ = 0.0;
    if (const auto material = MaterialFromKind(static_cast<int>(s.kind)))
      if (const auto size = LookupPipe(*material, s.sizeIndex)) previousD_ = size->D;
    kind_->setCurrentIndex(static_cast<int>(s.kind));
    showKind();
    if (IsCatalogueKind(s.kind)) size_->setCurrentIndex(s.sizeIndex);
    name_->setText(Text(s.facilityName));
    d_->setText(Text(s.D));
    b_->setText(Text(s.B));
    h_->setText(Text(s.H));
  }

  NetworkFacilityKind kind() const { return static_cast<NetworkFacilityKind>(std::max(0, kind_->currentIndex())); }
  int sizeIndex() const { return std::max(0, size_->currentIndex()); }
  std::string name() const { return Std(name_->text()); }
  std::string D() const { return Std(d_->text()); }
  std::string B() const { return Std(b_->text()); }
  std::string H() const { return Std(h_->text()); }
  QList<QWidget*> parts() const { return {kind_, size_, name_, d_, b_, h_}; }

  // Tab and Shift+Tab go round the parts the kind shows (kind, then the
  // size, or the name and D, or the name, B and H).
  void focusNextPart(QWidget* from, bool forward) {
    QList<QWidget*> shown;
    for (QWidget* part : parts())
      if (!part->isHidden()) shown << part;
    if (shown.isEmpty()) return;
    const auto at = shown.indexOf(from);
    const auto count = shown.size();
    const auto next = at < 0 ? 0 : (at + (forward ? 1 : count - 1)) % count;
    shown[next]->setFocus(Qt::TabFocusReason);
    if (auto* line = qobject_cast<QLineEdit*>(shown[next])) line->selectAll();
  }

 private:
  QLineEdit* box(const char* field, const char* caption, int width) {
    auto* e = new QLineEdit(this);
    NameControl(e, QString::fromLatin1(field), QString::fromUtf8(caption));
    e->setPlaceholderText(QString::fromUtf8(caption));
    e->setFixedWidth(width);
    return e;
  }

  // The parts of the kind chosen; a catalogue list keeps the size nearest
  // the diameter the cell had.
  void showKind() {
    const NetworkFacilityKind k = kind();
    const auto material = MaterialFromKind(static_cast<int>(k));
    size_->setVisible(material.has_value());
    name_->setVisible(!material);
    d_->setVisible(k == NetworkFacilityKind::OtherCircular);
    b_->setVisible(k == NetworkFacilityKind::Rectangular);
    h_->setVisible(k == NetworkFacilityKind::Rectangular);
    fitParts();
    if (!material || shownMaterial_ == material) return;
    shownMaterial_ = material;
    size_->clear();
    int nearest = 0;
    double best = -1.0;
    const auto& sizes = PipeSizes(*material);
    for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
      size_->addItem(Text(sizes[static_cast<std::size_t>(i)].storedName));
      const double gap = std::abs(sizes[static_cast<std::size_t>(i)].D - previousD_);
      if (best < 0 || gap < best) {
        best = gap;
        nearest = i;
      }
    }
    size_->setCurrentIndex(nearest);
  }

  // Wide enough for the parts shown, and still inside the table.
  void fitParts() {
    const QWidget* area = parentWidget();
    if (!area || !isVisible()) return;
    QRect rect = geometry();
    rect.setWidth(std::max(rect.width(), sizeHint().width()));
    if (rect.right() >= area->width()) rect.moveRight(area->width() - 1);
    if (rect.left() < 0) rect.moveLeft(0);
    setGeometry(rect);
  }

  QComboBox* kind_ = nullptr;
  QComboBox* size_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* d_ = nullptr;
  QLineEdit* b_ = nullptr;
  QLineEdit* h_ = nullptr;
  std::optional<PipeMaterial> shownMaterial_;
  double previousD_ = 0.0;
};

FacilityEditor* FacilityEditorOf(QObject* object) {
  for (QObject* o = object; o; o = o->parent())
    if (auto* editor = dynamic_cast<FacilityEditor*>(o)) return editor;
  return nullptr;
}

// Text cells edit in a plain line; the facility and the depth in their own
// editors.  Enter commits at once and moves on (the view decides where).
class NetworkCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QString name = NetworkTableModel::columnName(index.column());
    const QString caption = NetworkTableModel::columnCaption(index.column());
    if (name == QLatin1String(nf::kKind)) {
      auto* editor = new FacilityEditor(parent);
      for (QWidget* part : editor->parts()) part->installEventFilter(const_cast<NetworkCellDelegate*>(this));
      return editor;
    }
    if (name == QLatin1String(nf::kDepth)) {
      auto* combo = new QComboBox(parent);
      NameControl(combo, name, caption);
      auto* items = new QStandardItemModel(combo);
      combo->setModel(items);
      connect(combo, &QComboBox::activated, this, [this, combo](int) {
        emit const_cast<NetworkCellDelegate*>(this)->commitData(combo);
      });
      return combo;
    }
    auto* line = new QLineEdit(parent);
    NameControl(line, name, caption);
    (void)option;
    return line;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const auto* model = qobject_cast<const NetworkTableModel*>(index.model());
    const NetworkSegment& s = model->record().segments[static_cast<std::size_t>(index.row())];
    if (auto* facility = dynamic_cast<FacilityEditor*>(editor)) {
      facility->load(s);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      auto* items = static_cast<QStandardItemModel*>(combo->model());
      items->clear();
      for (const DepthChoice& choice : DepthChoiceList(NetworkDepthList(s.kind))) {
        auto* item = new QStandardItem(Text(choice.text));
        if (!choice.member) item->setFlags(Qt::NoItemFlags);  // a separator
        items->appendRow(item);
      }
      combo->setCurrentIndex(s.depthIndex);
    } else {
      QStyledItemDelegate::setEditorData(editor, index);
    }
  }

  void setModelData(QWidget* editor, QAbstractItemModel* abstractModel, const QModelIndex& index) const override {
    auto* model = qobject_cast<NetworkTableModel*>(abstractModel);
    if (auto* facility = dynamic_cast<FacilityEditor*>(editor)) {
      model->setFacility(index.row(), facility->kind(), facility->sizeIndex(), facility->name(), facility->D(),
                         facility->B(), facility->H());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      model->setDepth(index.row(), combo->currentIndex());
    } else {
      QStyledItemDelegate::setModelData(editor, abstractModel, index);
    }
  }

  // A 照査 cell naming a failed check in bold, in the table's own font.
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* model = qobject_cast<const NetworkTableModel*>(index.model());
    if (model && model->checkFails(index.row(), index.column())) option->font.setBold(true);
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
    QRect rect = option.rect;
    rect.setWidth(std::max(rect.width(), editor->sizeHint().width()));
    rect.setHeight(std::max(rect.height(), editor->sizeHint().height()));
    // A wide editor stays inside the table: moved left (and up) from the
    // window's edge rather than cut off by it.
    if (const QWidget* area = editor->parentWidget()) {
      if (rect.right() >= area->width()) rect.moveRight(area->width() - 1);
      if (rect.bottom() >= area->height()) rect.moveBottom(area->height() - 1);
      if (rect.left() < 0) rect.moveLeft(0);
      if (rect.top() < 0) rect.moveTop(0);
    }
    editor->setGeometry(rect);
  }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    FacilityEditor* facility = FacilityEditorOf(object);
    QWidget* editor = facility ? static_cast<QWidget*>(facility) : qobject_cast<QWidget*>(object);
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (facility && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        const bool back = key == Qt::Key_Backtab || (static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier);
        facility->focusNextPart(qobject_cast<QWidget*>(object), !back);
        return true;
      }
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::EditNextItem);
        return true;
      }
      if (key == Qt::Key_Escape && facility) {
        emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        return true;
      }
    }
    if (facility) {
      // The parts of the facility editor: leaving the editor as a whole
      // commits it, as leaving a line does.
      if (event->type() == QEvent::FocusOut && !QApplication::activePopupWidget()) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && (focus == facility || facility->isAncestorOf(focus))) return false;
        if (!facility->property("closing").toBool()) {
          facility->setProperty("closing", true);
          emit commitData(facility);
          emit closeEditor(facility, QAbstractItemDelegate::NoHint);
        }
      }
      return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

  // A cell is drawn as the style draws it, with its text laid out once:
  // shaping the texts of every cell on screen is most of a repaint, and
  // after an edit nearly all of them show what they showed before.  The
  // text is placed where the style places a one-line text; a text too
  // wide for its cell (elided), the current cell (its focus frame is drawn
  // over the text) and a cell being edited take the style's own way; so
  // does a text that would wrap to a second line.
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const bool plain = !opt.text.isEmpty() && !(opt.state & (QStyle::State_HasFocus | QStyle::State_Editing)) &&
                       !(opt.features & (QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator));
    const Layout* layout = nullptr;
    QRect textRect;
    if (plain) {
      const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
      textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(margin, 0, -margin, 0);
      layout = laidOut(opt, textRect.width());
      if (layout->lines != 1 || layout->natural > textRect.width()) layout = nullptr;
    }
    if (!layout) {
      style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
      return;
    }
    QStyleOptionViewItem ground = opt;
    ground.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &ground, painter, widget);
    QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(opt.state & QStyle::State_Active)) group = QPalette::Inactive;
    painter->save();
    painter->setClipRect(opt.rect);
    painter->setPen(
        opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect placed = QStyle::alignedRect(Qt::LayoutDirectionAuto, opt.displayAlignment, layout->size, textRect);
    layout->text.draw(painter, QPointF(textRect.x(), placed.top()));
    painter->restore();
  }

 private:
  struct Layout {
    QTextLayout text;
    QSize size;            // the laid-out text's bounding size, rounded as the style rounds it
    qreal natural = 0.0;  // its natural width
    int lines = 0;
  };
  const Layout* laidOut(const QStyleOptionViewItem& opt, int width) const {
    if (opt.font != font_ || layouts_.size() > 4000) {
      layouts_.clear();
      font_ = opt.font;
    }
    const Qt::Alignment alignment = QStyle::visualAlignment(opt.direction, opt.displayAlignment);
    const bool wrap = opt.features & QStyleOptionViewItem::WrapText;
    const auto key = std::make_tuple(opt.text, width, int(alignment), int(opt.direction) * 2 + wrap);
    auto found = layouts_.find(key);
    if (found != layouts_.end()) return found->second.get();
    auto layout = std::make_unique<Layout>();
    layout->text.setText(opt.text);
    layout->text.setFont(opt.font);
    QTextOption textOption;
    textOption.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
    textOption.setTextDirection(opt.direction);
    textOption.setAlignment(alignment);
    layout->text.setTextOption(textOption);
    layout->text.setCacheEnabled(true);
    layout->text.beginLayout();
    qreal height = 0.0;
    for (QTextLine line = layout->text.createLine(); line.isValid(); line = layout->text.createLine()) {
      line.setLineWidth(width);
      line.setPosition(QPointF(0.0, height));
      height += line.height();
      layout->natural = std::max(layout->natural, line.naturalTextWidth());
      ++layout->lines;
    }
    layout->text.endLayout();
    layout->size = layout->text.boundingRect().size().toSize();
    return layouts_.emplace(key, std::move(layout)).first->second.get();
  }

  mutable QFont font_;
  mutable std::map<std::tuple<QString, int, int, int>, std::unique_ptr<Layout>> layouts_;
};

}  // namespace

// ---------------------------------------------------------------- model

NetworkTableModel::NetworkTableModel(QObject* parent) : QAbstractTableModel(parent) { recompute(); }

int NetworkTableModel::proposalColumn() const { return static_cast<int>(NetworkColumns().size()); }

bool NetworkTableModel::isInputColumn(int column) const { return ColumnField(column) != nullptr; }

QString NetworkTableModel::columnName(int column) {
  const auto& columns = NetworkColumns();
  if (column == static_cast<int>(columns.size())) return QStringLiteral("proposal");
  if (column < 0 || column > static_cast<int>(columns.size())) return QString();
  const NetworkColumn& c = columns[static_cast<std::size_t>(column)];
  if (c.field) return QString::fromLatin1(c.field);
  const QString name = ComputedColumnName(c.caption);
  return name.isEmpty() ? QStringLiteral("column%1").arg(column) : name;
}

QString NetworkTableModel::columnCaption(int column) {
  const auto& columns = NetworkColumns();
  if (column == static_cast<int>(columns.size())) return QString::fromUtf8(kProposalCaption);
  if (column < 0 || column > static_cast<int>(columns.size())) return QString();
  return QString::fromUtf8(columns[static_cast<std::size_t>(column)].caption);
}

int NetworkTableModel::columnOfField(const std::string& field) const {
  const std::string key = IsFacilityField(field) ? std::string(nf::kKind) : field;
  const auto& columns = NetworkColumns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i)
    if (columns[static_cast<std::size_t>(i)].field && key == columns[static_cast<std::size_t>(i)].field) return i;
  const QString computed = key == nf::kIntensity  ? QStringLiteral("intensity")
                           : key == nf::kCapacity ? QStringLiteral("capacity")
                                                  : QString();
  for (int i = 0; !computed.isEmpty() && i < static_cast<int>(columns.size()); ++i)
    if (columnName(i) == computed) return i;
  return -1;
}

void NetworkTableModel::recompute() { refresh(nullptr, true); }

const NetworkSizing& NetworkTableModel::sizing() const {
  if (sizingStale_) {
    sizing_ = computation_.ok() ? ProposeNetworkSizes(record_) : NetworkSizing{};
    sizingStale_ = false;
  }
  return sizing_;
}

void NetworkTableModel::refresh(const std::vector<NetworkSegment>* before, bool rowsChanged) {
  NetworkComputation previous = std::move(computation_);
  computation_ = ComputeNetwork(record_);
  sizingStale_ = true;
  const int rows = rowCount();
  const int columns = columnCount();
  // A row whose segment and computed values are as before is unchanged
  // and keeps its texts; the others are formatted when they are next shown
  // (an edit changes one path to the outlet, and formatting 2,000 rows'
  // numbers would cost more than the computation).  A table refused before
  // and after shows no computed texts either time.
  const bool bothRefused = !previous.ok() && !computation_.ok();
  const bool comparable = before && !rowsChanged && before->size() == record_.segments.size() &&
                          (bothRefused || (previous.ok() && computation_.ok() &&
                                           previous.table.rows.size() == computation_.table.rows.size() &&
                                           texts_.size() == computation_.table.rows.size()));
  std::vector<char> changed(static_cast<std::size_t>(rows), 1);
  if (comparable)
    for (std::size_t r = 0; r < changed.size(); ++r)
      changed[r] = !((*before)[r] == record_.segments[r]) ||
                   (!bothRefused && !(previous.table.rows[r] == computation_.table.rows[r]));
  if (computation_.ok()) {
    texts_.resize(computation_.table.rows.size());
    for (std::size_t r = 0; r < texts_.size(); ++r)
      if (!comparable || changed[r]) texts_[r].clear();
  } else {
    texts_.clear();
  }
  std::vector<bool> no;
  no.reserve(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) no.push_back(rowIsNo(r));
  std::swap(no, no_);
  const auto& refusal = computation_.refusal;
  const std::pair<int, int> refused =
      refusal && refusal->segment >= 0 ? std::pair(refusal->segment, columnOfField(refusal->field)) : std::pair(-1, -1);
  const std::pair<int, int> wasRefused = refusedCell_;
  refusedCell_ = refused;

  if (rowsChanged || proposals_.size() != static_cast<std::size_t>(rows)) {
    // Rows added, removed or moved: every cell, the proposals with them.
    proposals_.clear();
    for (int r = 0; r < rows; ++r) proposals_.push_back(cellText(r, proposalColumn()));
    if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
    emit recomputed();
    return;
  }
  // The rows that changed, or turned NO or O.K, are told whole; rows next
  // to each other as one block (a line's rows all change together).  The
  // proposal column follows once these cells are on screen.
  int blockTop = -1, blockFirst = columns, blockLast = -1;
  auto tell = [&](int bottom) {
    if (blockTop >= 0) emit dataChanged(index(blockTop, blockFirst), index(bottom, blockLast));
    blockTop = -1;
    blockFirst = columns;
    blockLast = -1;
  };
  for (int r = 0; r < rows; ++r) {
    const auto ur = static_cast<std::size_t>(r);
    int first = columns, last = -1;
    if (changed[ur] || ur >= no.size() || no[ur] != no_[ur]) {
      first = 0;
      last = columns - 1;
    }
    for (const auto& cell : {wasRefused, refused})
      if (cell.first == r && cell.second >= 0 && wasRefused != refused) {
        first = std::min(first, cell.second);
        last = std::max(last, cell.second);
      }
    if (last < first) {
      tell(r - 1);
      continue;
    }
    if (blockTop < 0) blockTop = r;
    blockFirst = std::min(blockFirst, first);
    blockLast = std::max(blockLast, last);
  }
  tell(rows - 1);
  emit recomputed();
  if (!proposalsQueued_) {
    // Posted below the repaint's own priority, so the recomputed cells are
    // on screen before the sizing runs.
    proposalsQueued_ = true;
    QCoreApplication::postEvent(this, new QEvent(ProposalsEvent()), Qt::LowEventPriority - 1);
  }
}

QEvent::Type NetworkTableModel::ProposalsEvent() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void NetworkTableModel::customEvent(QEvent* event) {
  if (event->type() == ProposalsEvent()) refreshProposals();
  QAbstractTableModel::customEvent(event);
}

void NetworkTableModel::refreshProposals() {
  proposalsQueued_ = false;
  const int rows = rowCount();
  if (proposals_.size() != static_cast<std::size_t>(rows)) return;  // refresh has shown them already
  for (int r = 0; r < rows; ++r) {
    QString text = cellText(r, proposalColumn());
    if (text == proposals_[static_cast<std::size_t>(r)]) continue;
    proposals_[static_cast<std::size_t>(r)] = std::move(text);
    emit dataChanged(index(r, proposalColumn()), index(r, proposalColumn()));
  }
}

void NetworkTableModel::commit() {
  typing_.clear();
  if (history_.push(record_)) emit historyChanged();
}

void NetworkTableModel::endTyping() {
  if (!typing_.isEmpty()) commit();
}

bool NetworkTableModel::canUndo() const { return history_.canUndo() || !typing_.isEmpty(); }
bool NetworkTableModel::canRedo() const { return typing_.isEmpty() && history_.canRedo(); }

void NetworkTableModel::setRecord(NetworkRecord record) {
  beginResetModel();
  record_ = std::move(record);
  endResetModel();
  typing_.clear();
  history_.reset(record_);
  recompute();
  emit historyChanged();
}

void NetworkTableModel::restore(const NetworkRecord& record) {
  if (record.segments.size() == record_.segments.size()) {
    std::vector<NetworkSegment> before = std::move(record_.segments);
    record_ = record;
    refresh(&before);
  } else {
    beginResetModel();
    record_ = record;
    endResetModel();
    recompute();
  }
  emit restored();
  emit historyChanged();
}

void NetworkTableModel::undo() {
  endTyping();
  if (history_.canUndo()) restore(history_.undo());
}

void NetworkTableModel::redo() {
  endTyping();
  if (history_.canRedo()) restore(history_.redo());
}

void NetworkTableModel::setSegments(std::vector<NetworkSegment> segments) {
  endTyping();
  if (segments == record_.segments) return;
  beginResetModel();
  record_.segments = std::move(segments);
  endResetModel();
  recompute();
  commit();
}

void NetworkTableModel::insertSegment(int at, const NetworkSegment& segment) {
  endTyping();
  at = std::clamp(at, 0, rowCount());
  beginInsertRows(QModelIndex(), at, at);
  record_.segments.insert(record_.segments.begin() + at, segment);
  endInsertRows();
  recompute();
  commit();
}

int NetworkTableModel::insertSegmentAfter(int row) {
  endTyping();
  const bool inside = row >= 0 && row < rowCount();
  const int at = inside ? row + 1 : rowCount();
  beginInsertRows(QModelIndex(), at, at);
  const int inserted = InsertSegmentAfter(record_, inside ? row : -1);
  endInsertRows();
  recompute();
  commit();
  return inserted;
}

void NetworkTableModel::removeSegment(int at) {
  endTyping();
  if (at < 0 || at >= rowCount()) return;
  beginRemoveRows(QModelIndex(), at, at);
  record_.segments.erase(record_.segments.begin() + at);
  endRemoveRows();
  recompute();
  commit();
}

void NetworkTableModel::moveSegment(int from, int to) {
  endTyping();
  if (from < 0 || from >= rowCount() || to < 0 || to >= rowCount() || from == to) return;
  beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
  std::swap(record_.segments[static_cast<std::size_t>(from)], record_.segments[static_cast<std::size_t>(to)]);
  endMoveRows();
  recompute();
  commit();
}

void NetworkTableModel::reorder(const std::vector<int>& order) {
  if (order.size() != record_.segments.size()) return;
  std::vector<NetworkSegment> sorted;
  sorted.reserve(order.size());
  for (int i : order) sorted.push_back(record_.segments[static_cast<std::size_t>(i)]);
  setSegments(std::move(sorted));
}

void NetworkTableModel::applyProposals(int segment) {
  if (sizing().refusal || sizing().proposals.empty()) return;
  const NetworkSizing proposals = sizing();
  change([&](NetworkRecord& r) { ApplySizeProposals(r, proposals, segment); });
}

void NetworkTableModel::setSettings(const NetworkSettings& settings, const QString& box) {
  if (settings == record_.settings) return;
  const bool typingOn = !box.isEmpty() && box == typing_;
  if (!typingOn) endTyping();
  record_.settings = settings;
  refresh(nullptr);
  if (box.isEmpty()) {
    commit();
  } else if (!typingOn) {
    // The step is recorded when the typing in this box ends.
    typing_ = box;
    emit historyChanged();
  }
}

bool NetworkTableModel::change(const std::function<void(NetworkRecord&)>& edit) {
  endTyping();
  // The history's current state is the record as the views show it.
  const NetworkRecord& before = history_.current();
  const std::size_t rows = before.segments.size();
  edit(record_);
  if (record_.segments.size() < rows) {  // rows may only be added here
    restore(before);
    return false;
  }
  if (record_ == before) return false;
  if (record_.segments.size() > rows) {
    std::vector<NetworkSegment> added(record_.segments.begin() + static_cast<std::ptrdiff_t>(rows),
                                      record_.segments.end());
    record_.segments.resize(rows);
    beginInsertRows(QModelIndex(), static_cast<int>(rows), static_cast<int>(rows + added.size()) - 1);
    record_.segments.insert(record_.segments.end(), added.begin(), added.end());
    endInsertRows();
  }
  refresh(&before.segments);
  commit();
  return true;
}

void NetworkTableModel::setFacility(int row, NetworkFacilityKind kind, int sizeIndex, const std::string& name,
                                    const std::string& D, const std::string& B, const std::string& H) {
  if (row < 0 || row >= rowCount()) return;
  change([&](NetworkRecord& r) {
    NetworkSegment& s = r.segments[static_cast<std::size_t>(row)];
    if (s.kind != kind) {
      if (NetworkDepthList(s.kind) != NetworkDepthList(kind)) s.depthIndex = NetworkDefaultDepthIndex(kind);
      s.roughness = NetworkDefaultRoughness(kind);
      s.kind = kind;
    }
    if (IsCatalogueKind(kind)) s.sizeIndex = sizeIndex;
    if (!IsCatalogueKind(kind)) s.facilityName = name;
    if (kind == NetworkFacilityKind::OtherCircular) s.D = D;
    if (kind == NetworkFacilityKind::Rectangular) {
      s.B = B;
      s.H = H;
    }
  });
}

void NetworkTableModel::setDepth(int row, int depthIndex) {
  if (row < 0 || row >= rowCount() || depthIndex < 0) return;
  change([&](NetworkRecord& r) { r.segments[static_cast<std::size_t>(row)].depthIndex = depthIndex; });
}

int NetworkTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(record_.segments.size());
}

int NetworkTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : proposalColumn() + 1;
}

QString NetworkTableModel::inputText(int row, int column) const {
  return inputTextOf(record_.segments[static_cast<std::size_t>(row)], column);
}

QString NetworkTableModel::inputTextOf(const NetworkSegment& s, int column) {
  // The texts a segment's own inputs are shown as, whether or not the table
  // computes (so a cell never changes while it is typed in).
  return Text(NetworkInputCellText(s, column));
}

bool NetworkTableModel::showsComputedInput(int row, int column) const {
  return IsLevelInput(ColumnField(column)) && row >= 0 && row < rowCount() && inputText(row, column).isEmpty() &&
         !cellText(row, column).isEmpty();
}

bool NetworkTableModel::checkFails(int row, int column) const {
  if (columnName(column) != QLatin1String("check")) return false;
  const QString text = cellText(row, column);
  return !text.isEmpty() && text != QString::fromUtf8(network_check::kPass);
}

QString NetworkTableModel::cellText(int row, int column) const {
  if (row < 0 || row >= rowCount()) return QString();
  if (isInputColumn(column)) {
    // 管厚 and 管底高 show the standard wall or the computed invert until one is typed.
    const QString typed = inputText(row, column);
    if (!typed.isEmpty() || !IsLevelInput(ColumnField(column))) return typed;
  }
  if (column == proposalColumn()) {
    const NetworkSizing& proposals = sizing();
    if (static_cast<std::size_t>(row) >= proposals.proposals.size()) return QString();
    return Text(NetworkProposalText(record_, proposals.proposals[static_cast<std::size_t>(row)]));
  }
  if (static_cast<std::size_t>(row) >= texts_.size()) return QString();
  auto& texts = texts_[static_cast<std::size_t>(row)];
  if (texts.empty()) texts = NetworkRowTexts(record_, computation_.table.rows[static_cast<std::size_t>(row)]);
  return column >= 0 && static_cast<std::size_t>(column) < texts.size() ? Text(texts[static_cast<std::size_t>(column)])
                                                                        : QString();
}

bool NetworkTableModel::rowIsNo(int row) const {
  return computation_.ok() && row >= 0 && static_cast<std::size_t>(row) < computation_.table.rows.size() &&
         computation_.table.rows[static_cast<std::size_t>(row)].verdict == Verdict::NO;
}

QVariant NetworkTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      // The proposal column as last brought up to date (it follows the
      // other cells a moment after an edit).
      if (column == proposalColumn() && static_cast<std::size_t>(row) < proposals_.size())
        return proposals_[static_cast<std::size_t>(row)];
      return cellText(row, column);
    case Qt::EditRole:
      return isInputColumn(column) ? inputText(row, column) : QVariant();
    case Qt::ForegroundRole:
      if (checkFails(row, column)) return QVariant(kFailedText);
      // A NO row in the report's light magenta, every cell of it.
      return rowIsNo(row) ? QVariant(ReportLineColor(true)) : QVariant();
    case Qt::BackgroundRole: {
      const auto& refusal = computation_.refusal;
      if (refusal && refusal->segment == row && columnOfField(refusal->field) == column)
        return QVariant(kNetworkRefusedGround);
      if (checkFails(row, column)) return QVariant(kFailedGround);
      // A standard wall or computed invert: grey as computed, still typed over.
      if (showsComputedInput(row, column)) return QVariant(kNetworkComputedGround);
      return isInputColumn(column) ? QVariant() : QVariant(kNetworkComputedGround);
    }
    case Qt::TextAlignmentRole: {
      const QString name = columnName(column);
      const bool text = isInputColumn(column) && (name == QLatin1String(nf::kName) || name == QLatin1String(nf::kUpstream) ||
                                                  name == QLatin1String(nf::kDownstream) || name == QLatin1String(nf::kKind) ||
                                                  name == QLatin1String(nf::kDepth));
      if (name == QLatin1String("verdict") || name == QLatin1String("check")) return int(Qt::AlignCenter);
      const bool words = text || column == proposalColumn() || name == QLatin1String("notes");
      return int((words ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    }
    case Qt::AccessibleDescriptionRole:
      return columnName(column);
    default:
      return {};
  }
}

QVariant NetworkTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role == Qt::DisplayRole) return section + 1;
    return {};
  }
  return ColumnHeaderData(columnCaption(section), columnName(section), role);
}

Qt::ItemFlags NetworkTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (isInputColumn(index.column())) flags |= Qt::ItemIsEditable;
  return flags;
}

bool NetworkTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || !isInputColumn(index.column())) return false;
  // The record edits' acceptance, as a paste gets it: full-width numbers
  // kept half-width, the facility and depth cells from their shown texts.
  const int row = index.row();
  const int column = index.column();
  std::optional<NetworkEditRefusal> refusal;
  change([&](NetworkRecord& r) { refusal = SetCellText(r, row, column, Std(value.toString())); });
  if (refusal) emit editRefused(Text(refusal->message), refusal->row, refusal->column);
  return !refusal;
}

// ---------------------------------------------------------------- view

NetworkTableView::NetworkTableView(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new NetworkCellDelegate(this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTabKeyNavigation(true);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    // A width the user sets by hand is the column's own from then on.
    if (!sizing_ && column >= 0 && static_cast<std::size_t>(column) < natural_.size())
      natural_[static_cast<std::size_t>(column)] = size;
    if (frozen_ && column < frozenCount_) {
      frozen_->setColumnWidth(column, size);
      placeFrozenView();
    }
  });
}

void NetworkTableView::setFrozenColumns(int count) {
  if (main_ || frozen_ || !model()) return;
  frozenCount_ = count;
  frozen_ = new NetworkTableView(this);
  frozen_->main_ = this;
  frozen_->frozenCount_ = count;
  frozen_->setObjectName(objectName() + QStringLiteral("_frozen"));
  frozen_->setAccessibleName(accessibleName());
  frozen_->setAccessibleDescription(frozen_->objectName());
  frozen_->setModel(model());
  frozen_->setSelectionModel(selectionModel());
  frozen_->setFont(font());
  frozen_->setFrameShape(QFrame::NoFrame);
  frozen_->verticalHeader()->hide();
  frozen_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
  frozen_->horizontalHeader()->setDefaultAlignment(horizontalHeader()->defaultAlignment());
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollMode(verticalScrollMode());
  // A light rule at the frozen columns' right edge.
  frozen_->setStyleSheet(QStringLiteral("QTableView { border: none; border-right: 2px solid palette(mid); }"));
  for (int c = 0; c < model()->columnCount(); ++c) frozen_->setColumnHidden(c, c >= count);
  for (int c = 0; c < count; ++c) frozen_->setColumnWidth(c, columnWidth(c));
  connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
  connect(frozen_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (column < frozenCount_ && columnWidth(column) != size) setColumnWidth(column, size);
  });
  connect(verticalHeader(), &QHeaderView::sectionResized, frozen_,
          [this](int row, int, int size) { frozen_->setRowHeight(row, size); });
  // The model's columns may grow (new columns): the frozen view hides them.
  connect(model(), &QAbstractItemModel::columnsInserted, frozen_, [this] {
    for (int c = 0; c < model()->columnCount(); ++c) frozen_->setColumnHidden(c, c >= frozenCount_);
  });
  connect(model(), &QAbstractItemModel::modelReset, frozen_, [this] {
    for (int c = 0; c < model()->columnCount(); ++c) frozen_->setColumnHidden(c, c >= frozenCount_);
  });
  connect(frozen_, &NetworkTableView::copyRequested, this, &NetworkTableView::copyRequested);
  connect(frozen_, &NetworkTableView::pasteRequested, this, &NetworkTableView::pasteRequested);
  connect(frozen_, &NetworkTableView::clearRequested, this, &NetworkTableView::clearRequested);
  connect(frozen_, &NetworkTableView::fillDownRequested, this, &NetworkTableView::fillDownRequested);
  connect(frozen_, &NetworkTableView::pastLastInput, this, &NetworkTableView::pastLastInput);
  viewport()->stackUnder(frozen_);
  frozen_->show();
  placeFrozenView();
}

bool NetworkTableView::shows(int column) const {
  if (main_) return column < frozenCount_;
  if (frozen_) return column >= frozenCount_;
  return true;
}

NetworkTableView* NetworkTableView::viewOf(int column) {
  if (shows(column)) return this;
  return main_ ? main_ : frozen_;
}

void NetworkTableView::focusCurrentCell() {
  const QModelIndex current = currentIndex();
  viewOf(current.isValid() ? current.column() : 0)->setFocus(Qt::OtherFocusReason);
}

void NetworkTableView::placeFrozenView() {
  if (!frozen_) return;
  int width = 0;
  for (int c = 0; c < frozenCount_; ++c) width += columnWidth(c);
  frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
  frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), width + 2,
                       viewport()->height() + horizontalHeader()->height());
}

void NetworkTableView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  if (!main_) shareRoom();
  placeFrozenView();
}

void NetworkTableView::updateGeometries() {
  QTableView::updateGeometries();
  placeFrozenView();
}

void NetworkTableView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (main_) {  // the frozen view scrolls only with the main view
    main_->scrollTo(index, hint);
    return;
  }
  if (!frozen_ || !index.isValid()) {
    QTableView::scrollTo(index, hint);
    return;
  }
  const int sideways = horizontalScrollBar()->value();
  QTableView::scrollTo(index, hint);
  if (index.column() < frozenCount_) {
    horizontalScrollBar()->setValue(sideways);
    return;
  }
  // A cell that would stand under the frozen columns is brought out.
  int frozenWidth = 0;
  for (int c = 0; c < frozenCount_; ++c) frozenWidth += columnWidth(c);
  const QRect rect = visualRect(index);
  if (rect.left() < frozenWidth)
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozenWidth - rect.left()));
}

void NetworkTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid() && hasFocus() && !shows(current.column())) viewOf(current.column())->setFocus();
}

int NetworkTableView::contentWidth(int column, int firstRow, int lastRow) const {
  // Every cell is drawn in the view's one font, so a text's width is
  // measured once: after an edit most cells of a changed row show what
  // they showed before.
  std::optional<QStyleOptionViewItem> option;
  if (widths_.size() > 50000) widths_.clear();
  int width = 0;
  for (int r = firstRow; r <= lastRow; ++r) {
    const QModelIndex index = model()->index(r, column);
    const QString text = index.data().toString();
    auto known = widths_.constFind(text);
    if (known == widths_.constEnd()) {
      if (!option) {
        option.emplace();
        initViewItemOption(&*option);
      }
      known = widths_.insert(text, itemDelegate()->sizeHint(*option, index).width() + (showGrid() ? 1 : 0));
    }
    width = std::max(width, *known);
  }
  return width;
}

void NetworkTableView::fitColumns(int firstRow, int lastRow, int firstColumn, int lastColumn) {
  if (main_ || !model()) return;
  const int columns = model()->columnCount();
  if (natural_.size() != static_cast<std::size_t>(columns)) {
    natural_.resize(static_cast<std::size_t>(columns), 0);
    for (int c = 0; c < columns; ++c)
      natural_[static_cast<std::size_t>(c)] = std::max(natural_[static_cast<std::size_t>(c)],
                                                       horizontalHeader()->sectionSizeHint(c));
  }
  // Only the rows on screen are measured: a long table costs no more.
  const int top = std::max(firstRow, std::max(0, rowAt(0)));
  const int shownBottom = rowAt(viewport()->height() - 1);
  const int bottom = std::min(lastRow, shownBottom < 0 ? model()->rowCount() - 1 : shownBottom);
  if (top > bottom) return;  // nothing of it on screen
  bool grew = false;
  for (int c = std::max(0, firstColumn); c <= std::min(lastColumn, columns - 1); ++c) {
    const int width = contentWidth(c, top, bottom);
    int& natural = natural_[static_cast<std::size_t>(c)];
    if (width > natural) {
      natural = width;
      grew = true;
    }
  }
  if (grew) shareRoom();
}

void NetworkTableView::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) widths_.clear();
  QTableView::changeEvent(event);
}

void NetworkTableView::fitAllColumns() {
  if (main_ || !model()) return;
  natural_.clear();
  widths_.clear();
  fitColumns(0, model()->rowCount() - 1);
  shareRoom();
}

void NetworkTableView::shareRoom() {
  if (main_ || natural_.empty()) return;
  const int columns = static_cast<int>(natural_.size());
  int total = 0;
  for (int w : natural_) total += w;
  // Room beyond what the columns need is shared among them, in proportion.
  const int room = std::max(0, viewport()->width() - total - 2);
  sizing_ = true;
  for (int c = 0; c < columns; ++c) {
    const int natural = natural_[static_cast<std::size_t>(c)];
    const int extra = total > 0 ? static_cast<int>(static_cast<long long>(room) * natural / total) : 0;
    if (columnWidth(c) != natural + extra) setColumnWidth(c, natural + extra);
  }
  sizing_ = false;
  placeFrozenView();
}

void NetworkTableView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles) {
  // The item view repaints its whole viewport for any range of more than
  // one cell.  A recompute changes a row's span of cells along one path,
  // mostly off screen; only the part of the span on screen is repainted.
  // A screen reader or a range over all rows take the item view's own way;
  // the cell being edited (the only editor the table opens) is passed on
  // alone, so its editor takes the cell's new text as the item view would.
  const bool whole = !topLeft.isValid() || !bottomRight.isValid() || topLeft == bottomRight ||
                     QAccessible::isActive() || (topLeft.row() == 0 && bottomRight.row() == model()->rowCount() - 1);
  if (whole) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
  } else {
    const QModelIndex edited = currentIndex();
    if (state() == EditingState && edited.isValid() && edited.row() >= topLeft.row() &&
        edited.row() <= bottomRight.row() && edited.column() >= topLeft.column() &&
        edited.column() <= bottomRight.column())
      QTableView::dataChanged(edited, edited, roles);
    const int firstShown = rowAt(0);
    const int lastShown = rowAt(viewport()->height() - 1);
    if (firstShown < 0 || bottomRight.row() < firstShown || (lastShown >= 0 && topLeft.row() > lastShown)) return;
    int left = INT_MAX, right = INT_MIN;
    for (int c = topLeft.column(); c <= bottomRight.column(); ++c) {
      if (isColumnHidden(c)) continue;
      const int x = columnViewportPosition(c);
      left = std::min(left, x);
      right = std::max(right, x + columnWidth(c));
    }
    const int top = rowViewportPosition(topLeft.row());
    const int bottom = rowViewportPosition(bottomRight.row()) + rowHeight(bottomRight.row());
    const QRect span = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).intersected(viewport()->rect());
    if (left <= right && !span.isEmpty()) viewport()->update(span);
  }
  if (!main_ && topLeft.isValid() && bottomRight.isValid())
    fitColumns(topLeft.row(), bottomRight.row(), topLeft.column(), bottomRight.column());
}

void NetworkTableView::moveToNextInput() {
  auto* m = qobject_cast<NetworkTableModel*>(model());
  if (!m || m->rowCount() == 0) return;
  const QModelIndex current = currentIndex();
  int row = current.isValid() ? current.row() : 0;
  int column = current.isValid() ? current.column() : -1;
  for (;;) {
    ++column;
    if (column >= m->columnCount()) {
      if (row + 1 >= m->rowCount()) {
        emit pastLastInput();
        return;
      }
      ++row;
      column = 0;
    }
    if (m->isInputColumn(column)) break;
  }
  const QModelIndex next = m->index(row, column);
  setCurrentIndex(next);
  scrollTo(next);
}

void NetworkTableView::cancelEditing() {
  if (frozen_) frozen_->cancelEditing();
  if (state() != EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void NetworkTableView::keyPressEvent(QKeyEvent* event) {
  const QModelIndex current = currentIndex();
  if (forwarding_) {  // the frozen view's unused key, come back to its parent
    event->accept();
    return;
  }
  if (current.isValid() && !shows(current.column()) && state() != EditingState) {
    // The other view shows the current cell: it takes the keys.
    NetworkTableView* other = viewOf(current.column());
    other->setFocus(Qt::OtherFocusReason);
    NetworkTableView* outer = main_ ? main_ : this;
    outer->forwarding_ = true;
    QCoreApplication::sendEvent(other, event);
    outer->forwarding_ = false;
    event->accept();
    return;
  }
  if (state() != EditingState && main_ && current.isValid() && current.column() == frozenCount_ - 1 &&
      (event->key() == Qt::Key_Right || event->key() == Qt::Key_Tab)) {
    // Out of the frozen columns to the right: into the scrolling ones.
    setCurrentIndex(model()->index(current.row(), frozenCount_));
    return;
  }
  if (state() != EditingState) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (event->matches(QKeySequence::Copy)) {
      emit copyRequested();
      return;
    }
    if (event->matches(QKeySequence::Paste)) {
      emit pasteRequested();
      return;
    }
    if (event->key() == Qt::Key_Delete && !ctrl) {
      emit clearRequested();
      return;
    }
    if (ctrl && event->key() == Qt::Key_D) {
      emit fillDownRequested();
      return;
    }
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState) {
    moveToNextInput();
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void NetworkTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  closingEditor_ = true;
  QTableView::closeEditor(editor, hint == QAbstractItemDelegate::EditNextItem ? QAbstractItemDelegate::NoHint : hint);
  closingEditor_ = false;
  if (hint == QAbstractItemDelegate::EditNextItem) {
    moveToNextInput();
    focusCurrentCell();
  }
}

// The item view repaints every cell on screen when it gains or loses the
// focus.  Between a cell and its own editor (each typed cell, both ways)
// only the parts that show the focus change; 1,500 cells on a large
// screen would otherwise be drawn twice for each cell typed.
void NetworkTableView::focusInEvent(QFocusEvent* event) {
  if (!closingEditor_ || !currentIndex().isValid()) {
    QTableView::focusInEvent(event);
    return;
  }
  setAttribute(Qt::WA_InputMethodEnabled, (currentIndex().flags() & Qt::ItemIsEditable) != 0);
  updateFocusParts();
}

void NetworkTableView::focusOutEvent(QFocusEvent* event) {
  QWidget* to = QApplication::focusWidget();
  if (!to || !viewport()->isAncestorOf(to)) {
    QTableView::focusOutEvent(event);
    return;
  }
  updateFocusParts();
}

void NetworkTableView::updateFocusParts() {
  update(QRegion(rect()).subtracted(QRegion(viewport()->geometry())));
  if (selectionModel()) viewport()->update(visualRegionForSelection(selectionModel()->selection()));
  if (currentIndex().isValid()) viewport()->update(visualRect(currentIndex()));
}

// ---------------------------------------------------------------- screen

QString NetworkTableTitle(const QString& fileName, bool modified) {
  QString title = QStringLiteral("流量計算表");
  if (!fileName.isEmpty()) title += QStringLiteral(" - ") + QFileInfo(fileName).fileName();
  if (modified) title += QStringLiteral(" *");
  return title;
}

NetworkTableScreen::NetworkTableScreen(Prompter& prompter, QWidget* parent) : QWidget(parent), prompter_(prompter) {
  NameScreen(this, QStringLiteral("NetworkTable"), NetworkTableTitle(QString(), false));
  model_ = new NetworkTableModel(this);
  table_ = new NetworkTableView(this);
  NameControl(table_, QStringLiteral("grd_segments"), QStringLiteral("区間"));
  table_->setModel(model_);
  table_->setFont(FixedPitchGothic(font()));
  table_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
  // 路線番号, 上流 and 下流 stay at the left while the table scrolls sideways.
  table_->setFrozenColumns(3);
  connect(table_, &NetworkTableView::pastLastInput, this, [this] { addRow(); });
  connect(table_, &NetworkTableView::copyRequested, this, &NetworkTableScreen::copyCells);
  connect(table_, &NetworkTableView::pasteRequested, this, &NetworkTableScreen::pasteCells);
  connect(table_, &NetworkTableView::clearRequested, this, &NetworkTableScreen::clearCells);
  connect(table_, &NetworkTableView::fillDownRequested, this, &NetworkTableScreen::fillDown);
  connect(model_, &NetworkTableModel::editRefused, this, [this](const QString& message, int row, int column) {
    prompter_.error(this, message);
    focusCell(row, column);
  });

  message_ = new QLabel(this);
  NameControl(message_, QStringLiteral("lbl_msg"));
  message_->setWordWrap(true);

  // The segments at the left, the nodes' levels beside them.
  splitter_ = new QSplitter(Qt::Horizontal, this);
  NameControl(splitter_, QStringLiteral("spl_table"), QStringLiteral("区間と節点"));
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(table_);
  splitter_->addWidget(buildNodes());
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  showIntermediateColumns(false);
  showNodeGrid(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(buildSettings());
  layout->addWidget(splitter_, 1);
  layout->addWidget(buildButtons());
  layout->addWidget(message_);

  connect(model_, &NetworkTableModel::recomputed, this, &NetworkTableScreen::afterRecompute);
  connect(model_, &NetworkTableModel::restored, this, &NetworkTableScreen::showSettings);
  connect(model_, &NetworkTableModel::historyChanged, this, &NetworkTableScreen::undoStateChanged);
  load(NetworkRecord{}, QString());
  // Tall enough for the settings, the rows and the nodes' grid; the menu
  // bounds the window by the work area.
  resize(1180, 720);
}

QWidget* NetworkTableScreen::buildSettings() {
  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  auto line = [panel, this](const char* field, const QString& caption, int width) {
    auto* box = new QLineEdit(panel);
    NameControl(box, QString::fromLatin1(field), caption);
    if (width > 0) box->setFixedWidth(width);
    connect(box, &QLineEdit::textEdited, this, &NetworkTableScreen::settingsEdited);
    connect(box, &QLineEdit::editingFinished, this, [this] { model_->endTyping(); });
    return box;
  };
  auto label = [panel](const QString& text) { return new QLabel(text, panel); };

  title_ = line(nf::kTitle, QStringLiteral("表題"), 0);
  formula_ = new QComboBox(panel);
  NameControl(formula_, QString::fromLatin1(nf::kFormula), QStringLiteral("降雨強度式"));
  for (int i = 0; i < 6; ++i) formula_->addItem(NetworkFormulaCaption(static_cast<IntensityFormula>(i)));
  a_ = line(nf::kA, QStringLiteral("定数ａ"), 70);
  b_ = line(nf::kB, QStringLiteral("定数ｂ"), 70);
  c_ = line(nf::kC, QStringLiteral("定数ｃ"), 50);
  d_ = line(nf::kD, QStringLiteral("定数ｄ"), 50);
  t1_ = line(nf::kT1, QStringLiteral("流入時間 t1"), 50);
  velocity_ = new QComboBox(panel);
  NameControl(velocity_, QString::fromLatin1(nf::kVelocity), QStringLiteral("流速の計算方法"));
  velocity_->addItems({QStringLiteral("マニング公式"), QStringLiteral("クッター公式")});
  groundwaterOn_ = new QCheckBox(QStringLiteral("地下水混入率"), panel);
  NameControl(groundwaterOn_, QStringLiteral("chk_groundwater"), QStringLiteral("地下水混入率"));
  groundwater_ = line(nf::kGroundwater, QStringLiteral("地下水混入率 ％"), 44);
  surchargeOn_ = new QCheckBox(QStringLiteral("計画下水量の割増し"), panel);
  NameControl(surchargeOn_, QStringLiteral("chk_surcharge"), QStringLiteral("計画下水量の割増し"));
  surcharge_ = line(nf::kSurcharge, QStringLiteral("計画下水量の割増し ％増し"), 44);
  outlet_ = line(nf::kOutlet, QStringLiteral("放流先"), 70);
  for (QComboBox* combo : {formula_, velocity_})
    connect(combo, &QComboBox::currentIndexChanged, this, &NetworkTableScreen::settingsEdited);
  for (QCheckBox* check : {groundwaterOn_, surchargeOn_})
    connect(check, &QCheckBox::toggled, this, &NetworkTableScreen::settingsEdited);

  auto* first = new QHBoxLayout;
  first->addWidget(label(QStringLiteral("表題")));
  first->addWidget(title_, 1);
  first->addSpacing(12);
  first->addWidget(label(QStringLiteral("放流先")));
  first->addWidget(outlet_);
  auto* second = new QHBoxLayout;
  second->addWidget(label(QStringLiteral("降雨強度式")));
  second->addWidget(formula_);
  for (auto [caption, box] : std::initializer_list<std::pair<const char*, QLineEdit*>>{
           {"ａ=", a_}, {"ｂ=", b_}, {"ｃ=", c_}, {"ｄ=", d_}}) {
    second->addWidget(label(QString::fromUtf8(caption)));
    second->addWidget(box);
  }
  // The user's formula library, as on the rainfall-intensity screen.
  for (auto [name, caption] : std::initializer_list<std::pair<const char*, const char*>>{
           {"cmdRecall", "呼出"}, {"cmdRegister", "登録"}}) {
    auto* button = new QPushButton(QString::fromUtf8(caption), panel);
    NameControl(button, QString::fromLatin1(name), QString::fromUtf8(caption));
    button->setAutoDefault(false);
    const bool recall = std::string_view(name) == "cmdRecall";
    connect(button, &QPushButton::clicked, this, [this, recall] { recall ? recallFormula() : registerFormula(); });
    second->addWidget(button);
  }
  second->addSpacing(12);
  second->addWidget(label(QStringLiteral("流入時間 t1=")));
  second->addWidget(t1_);
  second->addWidget(label(QStringLiteral("min")));
  second->addStretch(1);
  auto* third = new QHBoxLayout;
  third->addWidget(label(QStringLiteral("流速の計算方法")));
  third->addWidget(velocity_);
  third->addSpacing(12);
  third->addWidget(groundwaterOn_);
  third->addWidget(groundwater_);
  third->addWidget(label(QStringLiteral("％")));
  third->addSpacing(8);
  third->addWidget(surchargeOn_);
  third->addWidget(surcharge_);
  third->addWidget(label(QStringLiteral("％増し")));
  third->addStretch(1);
  // What the table shows: the intermediate columns and the node grid, each
  // folded away at the start so that at the default window size the
  // columns through 余裕率 and 判定 are in view without scrolling.
  steps_ = new QCheckBox(QStringLiteral("途中計算の列"), panel);
  NameControl(steps_, QStringLiteral("chk_steps"), QStringLiteral("途中計算の列"));
  steps_->setToolTip(QStringLiteral("面積 累計、C·A、流入時間、流下時間、計画雨水量と計画汚水量の列を表示します。"));
  connect(steps_, &QCheckBox::toggled, this, &NetworkTableScreen::showIntermediateColumns);
  nodesShown_ = new QCheckBox(QStringLiteral("節点の地盤高"), panel);
  NameControl(nodesShown_, QStringLiteral("chk_nodes"), QStringLiteral("節点の地盤高"));
  connect(nodesShown_, &QCheckBox::toggled, this, &NetworkTableScreen::showNodeGrid);
  third->addWidget(steps_);
  third->addSpacing(8);
  third->addWidget(nodesShown_);
  grid->addLayout(first, 0, 0);
  grid->addLayout(second, 1, 0);
  grid->addLayout(third, 2, 0);
  grid->addWidget(buildCriteria(panel), 3, 0);
  return panel;
}

QWidget* NetworkTableScreen::buildCriteria(QWidget* panel) {
  // 設計基準: folded to a one-line summary, or two lines of boxes.
  auto* group = new QWidget(panel);
  auto* outer = new QHBoxLayout(group);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(6);
  criteriaToggle_ = new QToolButton(group);
  NameControl(criteriaToggle_, QStringLiteral("cmd_criteria"), QStringLiteral("設計基準"));
  criteriaToggle_->setText(QStringLiteral("設計基準"));
  criteriaToggle_->setCheckable(true);
  criteriaToggle_->setAutoRaise(true);
  criteriaToggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  connect(criteriaToggle_, &QToolButton::toggled, this, &NetworkTableScreen::showCriteria);
  outer->addWidget(criteriaToggle_, 0, Qt::AlignTop);
  criteriaSummary_ = new QLabel(group);
  NameControl(criteriaSummary_, QStringLiteral("lbl_criteria"));
  outer->addWidget(criteriaSummary_, 1);

  criteriaPanel_ = new QWidget(group);
  auto* lines = new QVBoxLayout(criteriaPanel_);
  lines->setContentsMargins(0, 0, 0, 0);
  lines->setSpacing(2);
  auto* top = new QHBoxLayout;
  auto* bottom = new QHBoxLayout;
  lines->addLayout(top);
  lines->addLayout(bottom);
  auto label = [this](QHBoxLayout* row, const char* text) { row->addWidget(new QLabel(QString::fromUtf8(text), criteriaPanel_)); };
  auto box = [this](QHBoxLayout* row, const char* field, std::string NetworkCriteria::*member) {
    auto* e = new QLineEdit(criteriaPanel_);
    NameControl(e, QString::fromLatin1(field), QString::fromStdString(NetworkFieldCaption(field)));
    e->setFixedWidth(48);
    e->setAlignment(Qt::AlignRight);
    connect(e, &QLineEdit::textEdited, this, &NetworkTableScreen::settingsEdited);
    connect(e, &QLineEdit::editingFinished, this, [this] { model_->endTyping(); });
    criteriaBoxes_.emplace_back(member, e);
    row->addWidget(e);
  };
  label(top, "流速 下限");
  box(top, nf::kVelocityMin, &NetworkCriteria::velocityMin);
  label(top, "上限");
  box(top, nf::kVelocityMax, &NetworkCriteria::velocityMax);
  label(top, "m/sec");
  top->addSpacing(12);
  label(top, "最小管径");
  box(top, nf::kMinimumSize, &NetworkCriteria::minimumSize);
  label(top, "mm");
  top->addSpacing(12);
  label(top, "最小土被り");
  box(top, nf::kMinimumCover, &NetworkCriteria::minimumCover);
  label(top, "m");
  top->addSpacing(12);
  label(top, "接合方法");
  joint_ = new QComboBox(criteriaPanel_);
  NameControl(joint_, QString::fromLatin1(nf::kJoint), QString::fromStdString(NetworkFieldCaption(nf::kJoint)));
  for (int k = 0; k < kJointMethodCount; ++k)
    joint_->addItem(QString::fromUtf8(JointMethodCaption(static_cast<JointMethod>(k))));
  connect(joint_, &QComboBox::currentIndexChanged, this, &NetworkTableScreen::settingsEdited);
  top->addWidget(joint_);
  top->addStretch(1);
  label(bottom, "副管 段差");
  box(bottom, nf::kDropPipe, &NetworkCriteria::dropPipe);
  label(bottom, "m");
  bottom->addSpacing(12);
  label(bottom, "最大間隔 ≤600");
  box(bottom, nf::kSpacing600, &NetworkCriteria::spacing600);
  label(bottom, "≤1000");
  box(bottom, nf::kSpacing1000, &NetworkCriteria::spacing1000);
  label(bottom, "≤1500");
  box(bottom, nf::kSpacing1500, &NetworkCriteria::spacing1500);
  label(bottom, "それ以上");
  box(bottom, nf::kSpacingLarger, &NetworkCriteria::spacingLarger);
  label(bottom, "m");
  bottom->addSpacing(12);
  label(bottom, "最小段差");
  box(bottom, nf::kMinimumDrop, &NetworkCriteria::minimumDrop);
  label(bottom, "m");
  bottom->addStretch(1);
  outer->addWidget(criteriaPanel_, 1);
  showCriteria(false);
  return group;
}

void NetworkTableScreen::showCriteria(bool shown) {
  if (criteriaToggle_->isChecked() != shown) criteriaToggle_->setChecked(shown);  // comes back here
  criteriaToggle_->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
  criteriaPanel_->setVisible(shown);
  criteriaSummary_->setVisible(!shown);
}

QWidget* NetworkTableScreen::buildNodes() {
  nodeModel_ = new NetworkNodeModel(*model_, this);
  nodeGrid_ = new NetworkNodeGrid(this);
  NameControl(nodeGrid_, QStringLiteral("grd_nodes"), QStringLiteral("節点"));
  nodeGrid_->setModel(nodeModel_);
  nodeGrid_->setFont(table_->font());
  nodeGrid_->verticalHeader()->setDefaultSectionSize(table_->verticalHeader()->defaultSectionSize());
  nodeGrid_->setMinimumWidth(240);
  connect(nodeGrid_, &NetworkNodeGrid::pasteRequested, this, &NetworkTableScreen::pasteNodes);
  connect(nodeGrid_, &NetworkNodeGrid::clearRequested, this,
          [this] { nodeModel_->clear(nodeGrid_->selectedRange()); });
  return nodeGrid_;
}

// The columns between the inputs that only show the steps of the
// computation (ΣA, C·A, t1, t2, Q11, Q12).
static bool IsIntermediateColumn(int column) {
  static const QStringList kNames{QStringLiteral("sum_area"), QStringLiteral("ca"), QStringLiteral("sum_ca"),
                                  QStringLiteral("t1"),       QStringLiteral("t2"), QStringLiteral("q11"),
                                  QStringLiteral("q12")};
  return kNames.contains(NetworkTableModel::columnName(column));
}

void NetworkTableScreen::showIntermediateColumns(bool shown) {
  if (steps_ && steps_->isChecked() != shown) {
    steps_->setChecked(shown);  // comes back here through toggled
    return;
  }
  for (int c = 0; c < model_->columnCount(); ++c)
    if (IsIntermediateColumn(c)) table_->setColumnHidden(c, !shown);
  table_->fitAllColumns();
}

void NetworkTableScreen::showNodeGrid(bool shown) {
  if (nodesShown_ && nodesShown_->isChecked() != shown) {
    nodesShown_->setChecked(shown);
    return;
  }
  if (nodeGrid_) nodeGrid_->setVisible(shown);
}

QWidget* NetworkTableScreen::buildButtons() {
  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(0, 0, 0, 0);
  auto button = [panel, row](const char* name, const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), panel);
    NameControl(b, QString::fromLatin1(name), QString::fromUtf8(caption));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, panel, slot);
    row->addWidget(b);
    return b;
  };
  button("cmd_add", "行追加", [this] { addRow(); });
  button("cmd_delete", "行削除", [this] { deleteRow(); });
  button("cmd_up", "上へ", [this] { moveRow(-1); });
  button("cmd_down", "下へ", [this] { moveRow(1); });
  button("cmd_sort", "流下順に並べ替え", [this] { sortDownstream(); });
  row->addSpacing(16);
  button("cmd_apply", "寸法提案を適用", [this] { applyProposal(false); });
  button("cmd_apply_all", "寸法提案を全て適用", [this] { applyProposal(true); });
  row->addSpacing(16);
  button("cmd_open_row", "区間を開く", [this] { openRow(); });
  button("cmd_profile", "縦断図", [this] { ShowProfileWindow(*this); });
  row->addStretch(1);
  button("cmd_check", "計算", [this] { checkTable(); });
  return panel;
}

void NetworkTableScreen::load(const NetworkRecord& record, const QString& fileName) {
  saved_ = record;
  fileName_ = fileName;
  model_->setRecord(record);
  showSettings();
  table_->fitAllColumns();
  if (model_->rowCount() > 0) setCurrentRow(0);
  emit stateChanged();
}

void NetworkTableScreen::markSaved(const QString& fileName) {
  saved_ = model_->record();
  fileName_ = fileName;
  afterRecompute();
}

void NetworkTableScreen::markUnsaved() {
  saved_ = NetworkRecord{};
  fileName_.clear();
  afterRecompute();
}

void NetworkTableScreen::replaceSegments(std::vector<NetworkSegment> segments) {
  model_->setSegments(std::move(segments));
  table_->fitAllColumns();
  if (model_->rowCount() > 0) setCurrentRow(0);
}

void NetworkTableScreen::showSettings() {
  loading_ = true;
  const NetworkSettings& s = model_->record().settings;
  title_->setText(Text(s.title));
  formula_->setCurrentIndex(static_cast<int>(s.formula));
  a_->setText(Text(s.a));
  b_->setText(Text(s.b));
  c_->setText(Text(s.c));
  d_->setText(Text(s.d));
  t1_->setText(Text(s.t1));
  velocity_->setCurrentIndex(s.velocity == VelocityFormula::Kutter ? 1 : 0);
  groundwaterOn_->setChecked(s.groundwater);
  groundwater_->setText(Text(s.groundwaterPercent));
  surchargeOn_->setChecked(s.surcharge);
  surcharge_->setText(Text(s.surchargePercent));
  outlet_->setText(Text(s.outlet));
  for (const auto& [member, box] : criteriaBoxes_) box->setText(Text(s.criteria.*member));
  joint_->setCurrentIndex(static_cast<int>(s.criteria.joint));
  loading_ = false;
  showCriteriaSummary();
  const bool cd = UsesConstantsCD(s.formula);
  c_->setEnabled(cd);
  d_->setEnabled(cd);
  groundwater_->setEnabled(s.groundwater);
  surcharge_->setEnabled(s.surcharge);
}

void NetworkTableScreen::showCriteriaSummary() {
  const NetworkCriteria& k = model_->record().settings.criteria;
  criteriaSummary_->setText(QStringLiteral("流速 %1～%2 m/sec　最小管径 %3 mm　最小土被り %4 m　%5　副管 段差 %6 m　"
                                           "最大間隔 %7/%8/%9/%10 m　最小段差 %11 m")
                                .arg(Text(k.velocityMin), Text(k.velocityMax), Text(k.minimumSize),
                                     Text(k.minimumCover), joint_->currentText(), Text(k.dropPipe),
                                     Text(k.spacing600), Text(k.spacing1000), Text(k.spacing1500))
                                .arg(Text(k.spacingLarger), Text(k.minimumDrop)));
}

void NetworkTableScreen::settingsEdited() {
  if (loading_) return;
  // Number boxes take full-width digits, point, sign and blank as their
  // half-width forms, as the table's number cells do (one character for
  // one, so the caret stays where it was).
  QList<QLineEdit*> numbers{a_, b_, c_, d_, t1_, groundwater_, surcharge_};
  for (const auto& entry : criteriaBoxes_) numbers << entry.second;
  for (QLineEdit* box : numbers) {
    const QString normal = Text(NormalizeNumberInput(Std(box->text())));
    if (normal == box->text()) continue;
    const int caret = box->cursorPosition();
    box->setText(normal);
    box->setCursorPosition(std::min(caret, static_cast<int>(normal.size())));
  }
  NetworkSettings s = model_->record().settings;
  s.title = Std(title_->text());
  s.formula = static_cast<IntensityFormula>(std::max(0, formula_->currentIndex()));
  s.a = Std(a_->text());
  s.b = Std(b_->text());
  s.c = Std(c_->text());
  s.d = Std(d_->text());
  s.t1 = Std(t1_->text());
  s.velocity = velocity_->currentIndex() == 1 ? VelocityFormula::Kutter : VelocityFormula::Manning;
  s.groundwater = groundwaterOn_->isChecked();
  s.groundwaterPercent = Std(groundwater_->text());
  s.surcharge = surchargeOn_->isChecked();
  s.surchargePercent = Std(surcharge_->text());
  s.outlet = Std(outlet_->text());
  for (const auto& [member, box] : criteriaBoxes_) s.criteria.*member = Std(box->text());
  s.criteria.joint = static_cast<JointMethod>(std::clamp(joint_->currentIndex(), 0, 3));
  const bool cd = UsesConstantsCD(s.formula);
  c_->setEnabled(cd);
  d_->setEnabled(cd);
  groundwater_->setEnabled(s.groundwater);
  surcharge_->setEnabled(s.surcharge);
  // Typing on in one box is one step; a choice or a check is a step of its own.
  auto* box = qobject_cast<QLineEdit*>(sender());
  model_->setSettings(s, box ? box->objectName() : QString());
  showCriteriaSummary();
}

void NetworkTableScreen::registerFormula() {
  const NetworkSettings& s = model_->record().settings;
  const bool cd = UsesConstantsCD(s.formula);
  for (auto [value, box, caption] : std::initializer_list<std::tuple<const std::string*, QLineEdit*, const char*>>{
           {&s.a, a_, "定数ａ"}, {&s.b, b_, "定数ｂ"}, {&s.c, c_, "定数ｃ"}, {&s.d, d_, "定数ｄ"}}) {
    if ((box == c_ || box == d_) && !cd) continue;
    if (!value->empty()) continue;
    prompter_.error(this, QString::fromUtf8(caption) + QStringLiteral("を入力してください。"));
    box->setFocus(Qt::OtherFocusReason);
    return;
  }
  IntensityLibraryEntry entry;
  entry.formula = s.formula;
  entry.a = Text(s.a);
  entry.b = Text(s.b);
  if (cd) {
    entry.c = Text(s.c);
    entry.d = Text(s.d);
  }
  RegisterIntensityEntry(prompter_, this, entry);
}

void NetworkTableScreen::recallFormula() {
  RecallIntensityFormula(prompter_, this, [this](const IntensityLibraryEntry& entry) {
    NetworkSettings s = model_->record().settings;
    s.formula = entry.formula;
    s.a = Std(entry.a);
    s.b = Std(entry.b);
    s.c = Std(entry.c);
    s.d = Std(entry.d);
    model_->setSettings(s);
    showSettings();
  });
}

void NetworkTableScreen::afterRecompute() {
  const NetworkComputation& result = model_->computation();
  QPalette palette = message_->palette();
  if (!result.ok()) {
    message_->setText(Text(result.refusal->message));
    palette.setColor(QPalette::WindowText, QColor(160, 0, 0));
  } else if (model_->rowCount() == 0) {
    message_->setText(QStringLiteral("行追加で区間を入力してください。"));
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
  } else {
    int no = 0, failed = 0;
    for (const NetworkRow& row : result.table.rows) {
      no += row.verdict == Verdict::NO ? 1 : 0;
      failed += row.levels.failed.empty() ? 0 : 1;
    }
    QString text = no == 0 ? QStringLiteral("全%1区間 O.K").arg(model_->rowCount())
                           : QStringLiteral("%1区間中 %2区間が NO です。").arg(model_->rowCount()).arg(no);
    // The design checks beside the capacity verdict.
    text += failed == 0 ? QStringLiteral("　照査 全区間 適")
                        : QStringLiteral("　照査 %1区間が不適です。").arg(failed);
    // Without any ground level the levels are not computed: said here, once.
    if (!result.table.hasLevels) text += QLatin1Char('\n') + QString::fromUtf8(kNoLevelsNotice);
    message_->setText(text);
    palette.setColor(QPalette::WindowText,
                     no == 0 && failed == 0 ? palette.color(QPalette::Text) : ReportLineColor(true));
  }
  message_->setPalette(palette);
  message_->setAccessibleName(message_->text());
  setWindowTitle(NetworkTableTitle(fileName_, isModified()));
  setAccessibleName(windowTitle());
  emit stateChanged();
}

int NetworkTableScreen::currentRow() const {
  const QModelIndex current = table_->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void NetworkTableScreen::setCurrentRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex current = table_->currentIndex();
  int column = current.isValid() ? current.column() : 0;
  const QModelIndex index = model_->index(row, column);
  table_->setCurrentIndex(index);
  table_->scrollTo(index);
}

void NetworkTableScreen::addRow() {
  // A new segment below the current one: it starts at the current
  // segment's lower end with its facility, slope, n and depth, so a line
  // of similar pipes is typed once.
  const int at = model_->insertSegmentAfter(currentRow());
  table_->setCurrentIndex(model_->index(at, 0));
  table_->scrollTo(model_->index(at, 0));
  table_->focusCurrentCell();
}

void NetworkTableScreen::deleteRow() {
  const int row = currentRow();
  if (row < 0) return;
  model_->removeSegment(row);
  setCurrentRow(std::min(row, model_->rowCount() - 1));
}

void NetworkTableScreen::moveRow(int delta) {
  const int row = currentRow();
  const int to = row + delta;
  if (row < 0 || to < 0 || to >= model_->rowCount()) return;
  model_->moveSegment(row, to);
  setCurrentRow(to);
}

void NetworkTableScreen::sortDownstream() {
  if (!checkTable()) return;
  model_->reorder(model_->computation().table.order);
  setCurrentRow(0);
}

void NetworkTableScreen::applyProposal(bool all) {
  if (!checkTable()) return;
  const int row = currentRow();
  if (!all && row < 0) return;
  model_->applyProposals(all ? -1 : row);
}

void NetworkTableScreen::openRow() {
  const int row = currentRow();
  if (row < 0 || !checkTable()) return;
  if (openRow_)
    openRow_(SingleFacilityProject(model_->record(), model_->computation().table.rows[static_cast<std::size_t>(row)]));
}

NetworkCellRange NetworkTableScreen::selectedRange() const {
  const QModelIndex current = table_->currentIndex();
  NetworkCellRange range;
  const QItemSelection selection = table_->selectionModel()->selection();
  if (!selection.isEmpty() && (!current.isValid() || selection.contains(current))) {
    const QItemSelectionRange& r = selection.first();
    range = {r.top(), r.left(), r.bottom(), r.right()};
  } else if (current.isValid()) {
    range = {current.row(), current.column(), current.row(), current.column()};
  } else {
    range = {0, 0, -1, -1};
  }
  return range;
}

void NetworkTableScreen::copyCells() {
  const NetworkCellRange range = selectedRange();
  if (range.bottom < range.top) return;
  const std::string text =
      CopyBlock(model_->record(), range, [this](int row, int column) { return Std(model_->cellText(row, column)); });
  QGuiApplication::clipboard()->setText(Text(text));
}

void NetworkTableScreen::pasteCells() {
  const QString text = QGuiApplication::clipboard()->text();
  if (text.isEmpty()) return;
  table_->cancelEditing();
  const QModelIndex current = table_->currentIndex();
  const int row = current.isValid() ? current.row() : model_->rowCount();
  const int column = current.isValid() ? current.column() : 0;
  NetworkPasteResult result;
  model_->change([&](NetworkRecord& r) { result = PasteBlock(r, row, column, Std(text)); });
  if (!result.ok()) {
    // Nothing of the block was taken: the message names the cell.
    prompter_.error(this, Text(result.refusal->message));
    focusCell(result.refusal->row, result.refusal->column);
    return;
  }
  if (result.rows <= 0) return;
  const NetworkCellRange& r = result.range;
  table_->selectionModel()->select(QItemSelection(model_->index(r.top, r.left), model_->index(r.bottom, r.right)),
                                   QItemSelectionModel::ClearAndSelect);
  table_->selectionModel()->setCurrentIndex(model_->index(r.top, r.left), QItemSelectionModel::NoUpdate);
}

void NetworkTableScreen::pasteNodes() {
  const QString text = QGuiApplication::clipboard()->text();
  const QModelIndex current = nodeGrid_->currentIndex();
  if (text.isEmpty() || !current.isValid()) return;
  NetworkCellRange covered{0, 0, -1, -1};
  if (const auto refusal = nodeModel_->paste(current.row(), current.column(), Std(text), &covered)) {
    // Nothing of the block was taken: the message names the node and the column.
    prompter_.error(this, Text(refusal->message));
    const QModelIndex cell = nodeModel_->index(refusal->row, refusal->column);
    nodeGrid_->setCurrentIndex(cell);
    nodeGrid_->scrollTo(cell);
    nodeGrid_->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (covered.bottom < covered.top) return;
  nodeGrid_->selectionModel()->select(
      QItemSelection(nodeModel_->index(covered.top, covered.left), nodeModel_->index(covered.bottom, covered.right)),
      QItemSelectionModel::ClearAndSelect);
  nodeGrid_->selectionModel()->setCurrentIndex(nodeModel_->index(covered.top, covered.left),
                                               QItemSelectionModel::NoUpdate);
}

void NetworkTableScreen::clearCells() {
  const NetworkCellRange range = selectedRange();
  if (range.bottom < range.top) return;
  model_->change([&](NetworkRecord& r) { ClearCells(r, range); });
}

void NetworkTableScreen::fillDown() {
  const NetworkCellRange range = selectedRange();
  if (range.bottom <= range.top) return;
  model_->change([&](NetworkRecord& r) { FillDown(r, range); });
}

void NetworkTableScreen::focusCell(int row, int column) {
  if (row < 0 || row >= model_->rowCount()) return;
  const QModelIndex index = model_->index(row, std::max(0, column));
  table_->setCurrentIndex(index);
  table_->scrollTo(index);
  table_->focusCurrentCell();
}

void NetworkTableScreen::undo() { stepHistory(true); }
void NetworkTableScreen::redo() { stepHistory(false); }

void NetworkTableScreen::stepHistory(bool back) {
  // A cell being typed in is left as it was before the step is taken.
  table_->cancelEditing();
  const QModelIndex current = table_->currentIndex();
  if (back)
    model_->undo();
  else
    model_->redo();
  const int rows = model_->rowCount();
  if (rows > 0) {
    const QModelIndex index =
        model_->index(std::clamp(current.isValid() ? current.row() : 0, 0, rows - 1), current.isValid() ? current.column() : 0);
    table_->setCurrentIndex(index);
    table_->scrollTo(index);
  }
}

bool NetworkTableScreen::checkTable() {
  const NetworkComputation& result = model_->computation();
  if (result.ok()) return true;
  const NetworkRefusal refusal = *result.refusal;
  prompter_.error(this, Text(refusal.message));
  focusRefusal(refusal);
  return false;
}

void NetworkTableScreen::focusRefusal(const NetworkRefusal& refusal) {
  if (refusal.node >= 0) showNodeGrid(true);
  if (refusal.node >= 0) {
    nodeGrid_->focusNode(refusal.node, refusal.field);
    return;
  }
  if (refusal.segment < 0) {
    QString name = QString::fromStdString(refusal.field);
    QWidget* control = findChild<QWidget*>(name);
    if (control && criteriaPanel_->isAncestorOf(control)) showCriteria(true);
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
      box->setFocus(Qt::OtherFocusReason);
      box->deselect();
      box->setCursorPosition(0);
    } else if (control) {
      control->setFocus(Qt::OtherFocusReason);
    }
    return;
  }
  const int column = model_->columnOfField(refusal.field);
  const QModelIndex index = model_->index(refusal.segment, std::max(0, column));
  table_->setCurrentIndex(index);
  table_->scrollTo(index);
  table_->focusCurrentCell();
}

bool NetworkTableScreen::confirmDiscard(const QString& question) {
  if (!isModified()) return true;
  const PromptAnswer answer =
      prompter_.ask(this, PromptRequest{QStringLiteral("確認"), question, PromptButtons::OkCancel,
                                        PromptIcon::Question, PromptAnswer::Cancel});
  return answer == PromptAnswer::Ok;
}

void NetworkTableScreen::closeEvent(QCloseEvent* event) {
  if (!confirmDiscard(QStringLiteral("流量計算表の変更が保存されていません。閉じてもよろしいですか？"))) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace mk
