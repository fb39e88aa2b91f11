#include "ui/profile_window.h"

#include <QComboBox>
#include <QDate>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "paper/profile_paint.h"
#include "project_file/profile_file.h"
#include "ui/print_image.h"
#include "ui/prompter.h"
#include "ui/widget_support.h"

namespace mk {

namespace {

constexpr double kDeskMargin = 12.0;  // px around and between the sheets on screen

PrintDialogRunner& CurrentRunner() {
  static PrintDialogRunner platform;
  PrintDialogRunner* current = SetPrintDialogRunner(nullptr);
  SetPrintDialogRunner(current);
  return current ? *current : platform;
}

QString Today() { return QDate::currentDate().toString(QStringLiteral("yyyy年M月d日")); }

}  // namespace

// ---------------------------------------------------------------- canvas

ProfileCanvas::ProfileCanvas(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

double ProfileCanvas::pixelsPerMm() const { return logicalDpiX() / 25.4 * zoom_; }

void ProfileCanvas::setSheets(const std::vector<drawing::Sheet>* sheets, double zoom) {
  sheets_ = sheets;
  zoom_ = zoom;
  resize(sizeHint());
  update();
}

QSize ProfileCanvas::sizeHint() const {
  double width = 0.0, height = kDeskMargin;
  if (sheets_) {
    for (const drawing::Sheet& sheet : *sheets_) {
      width = std::max(width, sheet.width * pixelsPerMm());
      height += sheet.height * pixelsPerMm() + kDeskMargin;
    }
  }
  return QSize(static_cast<int>(std::ceil(width + 2 * kDeskMargin)), static_cast<int>(std::ceil(height)));
}

void ProfileCanvas::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), QColor(128, 128, 128));
  if (!sheets_) return;
  const double k = pixelsPerMm();
  double top = kDeskMargin;
  for (const drawing::Sheet& sheet : *sheets_) {
    const QRectF paper(kDeskMargin, top, sheet.width * k, sheet.height * k);
    if (paper.intersects(QRectF(event->rect()))) {
      painter.fillRect(paper.translated(3, 3), QColor(80, 80, 80));
      PaintSheet(painter, sheet, paper);
    }
    top += paper.height() + kDeskMargin;
  }
}

// ---------------------------------------------------------------- window

ProfileWindow::ProfileWindow(Prompter& prompter, ProfileSource source, QWidget* parent)
    : QWidget(parent), prompter_(prompter), source_(std::move(source)) {
  NameScreen(this, QStringLiteral("ProfileWindow"), QStringLiteral("縦断図"));
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout();
  layout->addLayout(bar);

  auto label = [this, bar](const char* caption, QWidget* buddy) {
    auto* l = new QLabel(QString::fromUtf8(caption), this);
    l->setBuddy(buddy);
    bar->addWidget(l);
    bar->addWidget(buddy);
  };
  auto combo = [this](const char* name, const char* caption) {
    auto* c = new QComboBox(this);
    NameControl(c, QString::fromLatin1(name), QString::fromUtf8(caption));
    return c;
  };
  head_ = combo("cbo_head", "起点");
  head_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  horizontal_ = combo("cbo_horizontal", "横の縮尺");
  for (int d : drawing::HorizontalScales()) horizontal_->addItem(QStringLiteral("1/%1").arg(d), d);
  horizontal_->setCurrentIndex(1);
  vertical_ = combo("cbo_vertical", "縦の縮尺");
  for (int d : drawing::VerticalScales()) vertical_->addItem(QStringLiteral("1/%1").arg(d), d);
  vertical_->setCurrentIndex(1);
  sheet_ = combo("cbo_sheet", "用紙");
  sheet_->addItem(QStringLiteral("A3 横"), static_cast<int>(drawing::SheetSize::A3));
  sheet_->addItem(QStringLiteral("A4 横"), static_cast<int>(drawing::SheetSize::A4));
  zoom_ = combo("cbo_zoom", "表示倍率");
  for (int z : {50, 75, 100, 150}) zoom_->addItem(QStringLiteral("%1%").arg(z), z);
  zoom_->setCurrentIndex(0);
  label("起点", head_);
  label("横", horizontal_);
  label("縦", vertical_);
  label("用紙", sheet_);
  label("表示", zoom_);
  bar->addStretch(1);
  auto button = [this, bar](const char* name, const char* caption, auto slot) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    NameControl(b, QString::fromLatin1(name), QString::fromUtf8(caption));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    bar->addWidget(b);
  };
  button("cmd_print", "印刷", [this] { print(); });
  button("cmd_pdf", "PDF出力", [this] { exportPdf(); });
  button("cmd_dxf", "DXF出力", [this] { exportDxf(); });

  message_ = new QLabel(this);
  NameControl(message_, QStringLiteral("lbl_message"));
  message_->setWordWrap(true);
  layout->addWidget(message_);

  canvas_ = new ProfileCanvas();
  NameControl(canvas_, QStringLiteral("profile_sheets"), QStringLiteral("縦断図の用紙"));
  scroll_ = new QScrollArea(this);
  NameControl(scroll_, QStringLiteral("Picture1"), QStringLiteral("縦断図"));
  scroll_->setWidget(canvas_);
  scroll_->setWidgetResizable(false);
  scroll_->setBackgroundRole(QPalette::Dark);
  layout->addWidget(scroll_, 1);

  for (QComboBox* c : {head_, horizontal_, vertical_, sheet_})
    connect(c, &QComboBox::activated, this, [this] { redraw(); });
  connect(zoom_, &QComboBox::activated, this, [this] { canvas_->setSheets(&drawing_.sheets, zoom_->currentData().toInt() / 100.0); });
  refresh();
  resize(1000, 700);
}

drawing::ProfileOptions ProfileWindow::options() const {
  drawing::ProfileOptions o;
  o.sheet = drawing::SheetSizeMm(static_cast<drawing::SheetSize>(sheet_->currentData().toInt()));
  o.horizontal = horizontal_->currentData().toInt();
  o.vertical = vertical_->currentData().toInt();
  o.date = Today().toStdString();
  return o;
}

void ProfileWindow::refresh() {
  // The heads again, keeping the one chosen while it is still a head.
  const QString chosen = head_->currentIndex() > 0 ? head_->currentData().toString() : QString();
  head_->clear();
  const std::string longest = source_.longestHead ? source_.longestHead() : std::string();
  head_->addItem(longest.empty() ? QStringLiteral("最長の流路")
                                 : QStringLiteral("最長の流路（%1）").arg(QString::fromStdString(longest)),
                 QString());
  for (const std::string& h : source_.heads ? source_.heads() : std::vector<std::string>()) {
    const QString name = QString::fromStdString(h);
    head_->addItem(name, name);
    if (name == chosen) head_->setCurrentIndex(head_->count() - 1);
  }
  redraw();
}

void ProfileWindow::redraw() {
  const drawing::ProfilePathResult path =
      source_.path ? source_.path(head_->currentData().toString().toStdString()) : drawing::ProfilePathResult{};
  if (!path.ok()) {
    drawing_ = {};
    drawing_.refusal = path.refusal;
  } else {
    drawing_ = drawing::DrawProfile(path.path, options());
  }
  if (drawing_.ok()) {
    const drawing::ProfilePath& p = path.path;
    message_->setText(QStringLiteral("%1 → %2　延長 %3 m　%4 枚")
                          .arg(QString::fromStdString(p.nodes.front().name), QString::fromStdString(p.nodes.back().name))
                          .arg(p.nodes.back().station, 0, 'f', 2)
                          .arg(drawing_.sheets.size()));
  } else {
    message_->setText(QString::fromStdString(drawing_.refusal.value_or(std::string())));
  }
  canvas_->setSheets(&drawing_.sheets, zoom_->currentData().toInt() / 100.0);
}

bool ProfileWindow::drawable() {
  if (drawing_.ok()) return true;
  prompter_.error(this, QString::fromStdString(drawing_.refusal.value_or(std::string())));
  return false;
}

QString ProfileWindow::chooseSaveFile(const QString& title, const QString& filter, const QString& suffix) {
  QString path = prompter_.chooseFile(this, FileDialogRequest{true, title, DocumentsFolder(), filter});
  if (path.isEmpty()) return path;
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + suffix;
  if (QFileInfo::exists(path)) {
    const PromptAnswer answer = prompter_.ask(
        this, PromptRequest{QStringLiteral("上書き保存の確認"), QStringLiteral("同名ファイルがあります。上書き保存しますか？"),
                            PromptButtons::YesNo, PromptIcon::Stop, PromptAnswer::No});
    if (answer != PromptAnswer::Yes) return QString();
  }
  return path;
}

void ProfileWindow::print() {
  if (!drawable()) return;
  PrintDialogRunner& runner = CurrentRunner();
  if (!runner.hasPrinters()) {
    const QString path = ChoosePdfInsteadOfPrinter(prompter_, this);
    if (path.isEmpty()) return;
    if (const auto error = WriteSheetsPdf(drawing_.sheets, QStringLiteral("縦断図"), path)) prompter_.error(this, *error);
    return;
  }
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("縦断図"));
  printer.setFullPage(true);
  printer.setPageLayout(SheetPageLayout(drawing_.sheets.front()));
  if (!runner.run(printer, this)) return;
  // The paper chosen in the dialog, laid landscape: the profile drawn for it.
  const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
  drawing::ProfileOptions o = options();
  o.sheet = {std::max(paper.width(), paper.height()), std::min(paper.width(), paper.height())};
  const drawing::ProfilePathResult path = source_.path(head_->currentData().toString().toStdString());
  const drawing::ProfileDrawing onPaper = drawing::DrawProfile(path.path, o);
  if (!onPaper.ok()) {
    prompter_.error(this, QString::fromStdString(*onPaper.refusal));
    return;
  }
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  if (!PaintSheets(printer, onPaper.sheets))
    prompter_.error(this, QStringLiteral("印刷できませんでした。プリンタ又は出力先を確認してください。"));
}

void ProfileWindow::exportPdf() {
  if (!drawable()) return;
  const QString path = chooseSaveFile(QStringLiteral("縦断図のPDF出力"), QStringLiteral("PDF (*.pdf)"), QStringLiteral("pdf"));
  if (path.isEmpty()) return;
  if (const auto error = WriteSheetsPdf(drawing_.sheets, QStringLiteral("縦断図"), path)) prompter_.error(this, *error);
}

void ProfileWindow::exportDxf() {
  if (!drawable()) return;
  const QString path = chooseSaveFile(QStringLiteral("縦断図のDXF出力"), QStringLiteral("DXF (*.dxf)"), QStringLiteral("dxf"));
  if (path.isEmpty()) return;
  if (const auto error = WriteProfileDxf(drawing_.sheets, path)) prompter_.error(this, *error);
}

}  // namespace mk
