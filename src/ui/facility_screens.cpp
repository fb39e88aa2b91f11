#include "ui/facility_screens.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/check_run.h"
#include "ui/main_input_screen.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"
#include "ui/size_table_window.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

// The status notice when an input of a facility screen is clicked.
const char* const kNoticeCircularClick =
    "流出係数（C）、降雨強度（I） 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事。";
const char* const kNoticeRectangularClick =
    "地下水混入率、計画汚水量の割増し 及び 粗度係数(ｎ)は、各地域の開発指導要綱等による事。";

QLabel* Heading(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

// One row of a facility screen's grid: the input's caption (its accessible
// name), the input, and its unit when it has one.
void AddRow(QGridLayout* grid, int row, QWidget* input, const QString& unit = QString()) {
  QWidget* screen = grid->parentWidget();
  grid->addWidget(new QLabel(input->accessibleName(), screen), row, 0);
  grid->addWidget(input, row, 1);
  if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, screen), row, 2);
}

}  // namespace

// ------------------------------------------------------------ FacilityScreen

FacilityScreen::FacilityScreen(ScreenHost& host, const QString& form, const QString& title,
                               const QString& clickNotice, QWidget* parent)
    : QWidget(parent), host_(host), clickNotice_(clickNotice) {
  NameScreen(this, form, title);
  enter_ = new EnterOrder(this);
}

EntryBox* FacilityScreen::makeBox(const QString& name, const QString& caption,
                                  std::function<std::string&()> field) {
  auto* box = new EntryBox(this);
  NameControl(box, name, caption);
  connect(box, &QLineEdit::textEdited, this, [this, field](const QString& text) {
    field() = text.toStdString();
    inputChanged();
  });
  connect(box, &EntryBox::clicked, this, [this] {
    host_.discardRunResult();
    host_.setStatusNotice(clickNotice_);
  });
  boxes_.emplace_back(box, std::move(field));
  return box;
}

QComboBox* FacilityScreen::makeDepthChoice(DepthListKind kind, const QString& caption,
                                           std::function<int&()> field) {
  cbo1_ = new QComboBox(this);
  NameControl(cbo1_, QStringLiteral("cbo1"), caption);
  for (const DepthChoice& choice : DepthChoiceList(kind))
    cbo1_->addItem(QString::fromStdString(choice.text));
  cbo1_->setMaxVisibleItems(cbo1_->count());
  depthField_ = std::move(field);
  connect(cbo1_, &QComboBox::activated, this, [this](int index) {
    depthField_() = index;
    inputChanged();
  });
  watchClicks(cbo1_);
  return cbo1_;
}

QPushButton* FacilityScreen::makeRunButton() {
  cmd1_ = new QPushButton(QStringLiteral("計算"), this);
  NameControl(cmd1_, QStringLiteral("cmd1"), QStringLiteral("計算"));
  cmd1_->setAutoDefault(true);
  connect(cmd1_, &QPushButton::clicked, this, &FacilityScreen::runCheck);
  return cmd1_;
}

void FacilityScreen::watchClicks(QWidget* input) {
  if (auto* view = qobject_cast<QAbstractItemView*>(input))
    view->viewport()->installEventFilter(this);
  else
    input->installEventFilter(this);
}

bool FacilityScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    host_.discardRunResult();
    host_.setStatusNotice(clickNotice_);
  }
  return QWidget::eventFilter(watched, event);
}

void FacilityScreen::inputChanged() {
  if (!loading_) host_.discardRunResult();
}

void FacilityScreen::refreshFromRecord() {
  loading_ = true;
  for (auto& [box, field] : boxes_) {
    const QString text = QString::fromStdString(field());
    if (box->text() != text) box->setText(text);
  }
  if (cbo1_ && depthField_) {
    const int index = depthField_();
    cbo1_->setCurrentIndex(index >= 0 && index < cbo1_->count() ? index : -1);
  }
  loading_ = false;
}

void FacilityScreen::runCheck() {
  ProjectRecord& record = host_.record();
  const CheckRunOutcome outcome = CheckRun(record);
  if (!outcome.passed) {
    host_.prompter().error(this, QString::fromStdString(outcome.failure.message));
    // A capacity that could not be computed has withdrawn the result.
    if (!record.run.exists) host_.discardRunResult();
    if (outcome.switchedSewageToDirect) {
      if (auto* main = MainInputScreen::find(host_)) {
        main->refreshFromRecord();
        main->setSewageBordered(true);
      }
    }
    if (!outcome.failure.focus.empty())
      host_.focusControl(QString::fromStdString(outcome.failure.focus));
    return;
  }
  host_.showRunResult(QString::fromStdString(outcome.lbl16), QString::fromStdString(outcome.lbl17),
                      outcome.beep);
  if (outcome.beep) host_.prompter().beep();
  host_.setStatusNotice(QString::fromStdString(outcome.statusNotice));
}

// ------------------------------------------------------------ Form2

CataloguePipeScreen::CataloguePipeScreen(ScreenHost& host, QWidget* parent)
    : FacilityScreen(host, QStringLiteral("Form2"), QStringLiteral("◇ 排水管"),
                     QString::fromUtf8(kNoticeCircularClick), parent) {
  label1_ = Heading(QString(), this);
  NameControl(label1_, QStringLiteral("Label1"));
  lst_pu_ = new QListWidget(this);
  NameControl(lst_pu_, QStringLiteral("lst_pu"), QStringLiteral("管径"));
  // Eight whole sizes in view.
  lst_pu_->addItem(QStringLiteral("ＶＰ－φ６５"));
  lst_pu_->setFixedHeight(lst_pu_->sizeHintForRow(0) * 8 + 2 * lst_pu_->frameWidth());
  lst_pu_->clear();
  lst_pu_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(lst_pu_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (loading_) return;
    host_.record().facility.form2.lst_pu = row;
    inputChanged();
  });
  watchClicks(lst_pu_);

  auto* txt1 = makeBox(QStringLiteral("txt1"), QStringLiteral("施設の勾配 x/1000"),
                       [this]() -> std::string& { return host_.record().facility.form2.txt1; });
  auto* txt2 = makeBox(QStringLiteral("txt2"), QStringLiteral("粗度係数"),
                       [this]() -> std::string& { return host_.record().facility.form2.txt2; });
  label6_ = new QLabel(QStringLiteral("有効水深 水量"), this);
  NameControl(label6_, QStringLiteral("Label6"));
  makeDepthChoice(DepthListKind::Circular, QStringLiteral("有効水深 水量"),
                  [this]() -> int& { return host_.record().facility.form2.cbo1; });
  makeRunButton();
  // The sizing table, outside the Enter order.
  auto* sizes = new QPushButton(QStringLiteral("管径選定"), this);
  NameControl(sizes, QStringLiteral("cmdSizes"), QStringLiteral("管径選定"));
  connect(sizes, &QPushButton::clicked, this,
          [this] { OpenSizeTable(host_, this, [this](int row) { chooseSize(row); }); });

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 8);
  grid->setVerticalSpacing(5);
  grid->addWidget(label1_, 0, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("管径"), this), 1, 0, Qt::AlignTop);
  grid->addWidget(lst_pu_, 1, 1);
  AddRow(grid, 2, txt1);
  AddRow(grid, 3, txt2);
  grid->addWidget(label6_, 4, 0);
  grid->addWidget(cbo1_, 4, 1);
  grid->addWidget(sizes, 5, 0, Qt::AlignLeft);
  grid->addWidget(cmd1_, 5, 1, Qt::AlignRight);
  txt1->setFixedWidth(90);
  txt2->setFixedWidth(90);
  lst_pu_->setFixedWidth(170);
  cbo1_->setFixedWidth(130);

  enter_->setOrder({lst_pu_, txt1, txt2, cbo1_, cmd1_});
  refreshFromRecord();
  setFixedSize(sizeHint());
}

void CataloguePipeScreen::refreshFromRecord() {
  loading_ = true;
  const ProjectRecord& r = host_.record();
  const auto material = MaterialFromKind(r.main.lst_s);
  label1_->setText(material ? QString::fromStdString(MaterialCaption(*material)) : QString());
  label6_->setText(QStringLiteral("有効水深 水量"));
  lst_pu_->clear();
  if (material) {
    for (const CatalogueSize& size : PipeSizes(*material))
      lst_pu_->addItem(QString::fromStdString(size.label));
  }
  const int row = r.facility.form2.lst_pu;
  lst_pu_->setCurrentRow(row >= 0 && row < lst_pu_->count() ? row : -1);
  if (lst_pu_->currentItem()) lst_pu_->scrollToItem(lst_pu_->currentItem());
  loading_ = false;
  FacilityScreen::refreshFromRecord();
}

void CataloguePipeScreen::chooseSize(int row) {
  if (row < 0 || row >= lst_pu_->count()) return;
  lst_pu_->setCurrentRow(row);  // writes the record and withdraws a result, as a click does
  lst_pu_->scrollToItem(lst_pu_->currentItem());
  lst_pu_->setFocus(Qt::OtherFocusReason);
}

// ------------------------------------------------------------ Form5

OtherCircularPipeScreen::OtherCircularPipeScreen(ScreenHost& host, QWidget* parent)
    : FacilityScreen(host, QStringLiteral("Form5"), QStringLiteral("◇ その他円形管"),
                     QString::fromUtf8(kNoticeCircularClick), parent) {
  auto* txt_m = makeBox(QStringLiteral("txt_m"), QStringLiteral("管の材料・名称"),
                        [this]() -> std::string& { return host_.record().facility.form5.txt_m; });
  auto* txt1 = makeBox(QStringLiteral("txt1"), QStringLiteral("直径 Ｄ＝"),
                       [this]() -> std::string& { return host_.record().facility.form5.txt1; });
  auto* txt2 = makeBox(QStringLiteral("txt2"), QStringLiteral("施設の勾配 x/1000"),
                       [this]() -> std::string& { return host_.record().facility.form5.txt2; });
  auto* txt3 = makeBox(QStringLiteral("txt3"), QStringLiteral("粗度係数"),
                       [this]() -> std::string& { return host_.record().facility.form5.txt3; });
  auto* label6 = new QLabel(QStringLiteral("有効水深 水量"), this);
  NameControl(label6, QStringLiteral("Label6"));
  makeDepthChoice(DepthListKind::Circular, QStringLiteral("有効水深 水量"),
                  [this]() -> int& { return host_.record().facility.form5.cbo1; });
  makeRunButton();

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 8);
  grid->setVerticalSpacing(5);
  grid->addWidget(Heading(QStringLiteral("その他円形管"), this), 0, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("管の材料・名称"), this), 1, 0, 1, 3);
  grid->addWidget(txt_m, 2, 0, 1, 3);
  AddRow(grid, 3, txt1, QStringLiteral("m"));
  AddRow(grid, 4, txt2);
  AddRow(grid, 5, txt3);
  grid->addWidget(label6, 6, 0);
  grid->addWidget(cbo1_, 6, 1, 1, 2);
  grid->addWidget(cmd1_, 7, 1, 1, 2, Qt::AlignRight);
  txt_m->setMinimumWidth(220);
  for (EntryBox* box : {txt1, txt2, txt3}) box->setFixedWidth(90);
  cbo1_->setFixedWidth(130);

  enter_->setOrder({txt_m, txt1, txt2, txt3, cbo1_, cmd1_});
  refreshFromRecord();
  setFixedSize(sizeHint());
}

// ------------------------------------------------------------ Form1

RectangularPipeScreen::RectangularPipeScreen(ScreenHost& host, QWidget* parent)
    : FacilityScreen(host, QStringLiteral("Form1"), QStringLiteral("◇ 矩形管"),
                     QString::fromUtf8(kNoticeRectangularClick), parent) {
  auto* txt_m = makeBox(QStringLiteral("txt_m"), QStringLiteral("管の材料・名称"),
                        [this]() -> std::string& { return host_.record().facility.form1.txt_m; });
  auto* txt1 = makeBox(QStringLiteral("txt1"), QStringLiteral("高さ Ｈ＝"),
                       [this]() -> std::string& { return host_.record().facility.form1.txt1; });
  auto* txt2 = makeBox(QStringLiteral("txt2"), QStringLiteral("巾 Ｂ＝"),
                       [this]() -> std::string& { return host_.record().facility.form1.txt2; });
  auto* txt3 = makeBox(QStringLiteral("txt3"), QStringLiteral("施設の勾配 x/1000"),
                       [this]() -> std::string& { return host_.record().facility.form1.txt3; });
  auto* txt4 = makeBox(QStringLiteral("txt4"), QStringLiteral("粗度係数"),
                       [this]() -> std::string& { return host_.record().facility.form1.txt4; });
  makeDepthChoice(DepthListKind::Rectangular, QStringLiteral("有効水深"),
                  [this]() -> int& { return host_.record().facility.form1.cbo1; });
  makeRunButton();

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(8, 6, 8, 8);
  grid->setVerticalSpacing(5);
  grid->addWidget(Heading(QStringLiteral("矩　形　管"), this), 0, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("管の材料・名称"), this), 1, 0, 1, 3);
  grid->addWidget(txt_m, 2, 0, 1, 3);
  AddRow(grid, 3, txt1, QStringLiteral("m"));
  AddRow(grid, 4, txt2, QStringLiteral("m"));
  AddRow(grid, 5, txt3);
  AddRow(grid, 6, txt4);
  grid->addWidget(new QLabel(QStringLiteral("有効水深"), this), 7, 0);
  grid->addWidget(cbo1_, 7, 1, 1, 2);
  grid->addWidget(cmd1_, 8, 1, 1, 2, Qt::AlignRight);
  txt_m->setMinimumWidth(220);
  for (EntryBox* box : {txt1, txt2, txt3, txt4}) box->setFixedWidth(90);
  cbo1_->setFixedWidth(130);

  enter_->setOrder({txt_m, txt1, txt2, txt3, txt4, cbo1_, cmd1_});
  refreshFromRecord();
  setFixedSize(sizeHint());
}

}  // namespace mk
