#include "ui/print_image_viewers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMetaObject>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <QtMath>

#include <algorithm>

#include "project_file/report_file.h"
#include "report/flow_report.h"
#include "ui/pdf_export.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk {
namespace {

// The visible part of the page (Picture1), in pixels: the sheet's width up
// to this limit (A4 and Letter sheets show their whole width), and a fixed
// height.
constexpr int kViewportMaxWidth = 820;
constexpr int kViewportHeight = 560;

const QString kPage1Form = QStringLiteral("Form7");
const QString kPage2Form = QStringLiteral("Form3");

}  // namespace

// ---------------------------------------------------------------- PageCanvas

PageCanvas::PageCanvas(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void PageCanvas::setPage(const PageGeometry& page) {
  const double dpr = devicePixelRatioF() > 0 ? devicePixelRatioF() : 1.0;
  QImage probe(1, 1, QImage::Format_RGB32);
  const double dpiX = probe.logicalDpiX();
  const double dpiY = probe.logicalDpiY();
  const QSize size(qRound(page.pageSize.width() * dpiX / 72.0), qRound(page.pageSize.height() * dpiY / 72.0));
  image_ = QImage(QSize(qRound(size.width() * dpr), qRound(size.height() * dpr)), QImage::Format_RGB32);
  image_.setDevicePixelRatio(dpr);
  origin_ = QPointF(page.printableOrigin.x() * dpiX / 72.0, page.printableOrigin.y() * dpiY / 72.0);
  resize(size);
  clear();
}

void PageCanvas::clear() {
  image_.fill(Qt::white);
  update();
}

void PageCanvas::paintEvent(QPaintEvent* event) {
  (void)event;
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), image_);
}

// ---------------------------------------------------------------- viewer

PrintImageViewer::PrintImageViewer(ScreenHost& host, int page, QWidget* parent)
    : QWidget(parent), host_(host), page_(page == 2 ? 2 : 1) {
  NameScreen(this, formName(), QStringLiteral("流量計算"));

  auto* menuBar = new QMenuBar(this);
  menuBar->setNativeMenuBar(false);
  auto addEntry = [&](const QString& name, const QString& text, void (PrintImageViewer::*slot)()) {
    QAction* action = menuBar->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
  };
  if (page_ == 1)
    addEntry(QStringLiteral("nextPage"), QStringLiteral("次のページ"), &PrintImageViewer::nextPage);
  else
    addEntry(QStringLiteral("previousPage"), QStringLiteral("前のページ"), &PrintImageViewer::previousPage);
  addEntry(QStringLiteral("print"), QStringLiteral("印刷(&P)"), &PrintImageViewer::print);
  QAction* pdf = menuBar->addAction(QStringLiteral("PDFに出力(&D)"));
  pdf->setObjectName(QStringLiteral("pdf"));
  connect(pdf, &QAction::triggered, this, [this] { ExportReportPdf(host_, this); });
  addEntry(QStringLiteral("write"), QStringLiteral("書き込み(&W)"), &PrintImageViewer::write);
  addEntry(QStringLiteral("launch"), QStringLiteral("起動(&O)"), &PrintImageViewer::launch);
  addEntry(QStringLiteral("close"), QStringLiteral("閉じる(&C)"), &PrintImageViewer::closeViewer);

  viewport_ = new QWidget(this);
  viewport_->setAutoFillBackground(true);
  QPalette shade = viewport_->palette();
  shade.setColor(QPalette::Window, QColor(128, 128, 128));
  viewport_->setPalette(shade);
  NameControl(viewport_, QStringLiteral("Picture1"), QStringLiteral("印刷イメージ"));

  canvas_ = new PageCanvas(viewport_);
  NameControl(canvas_, QStringLiteral("Picture2"), page_ == 1 ? QStringLiteral("１ページ") : QStringLiteral("２ページ"));
  canvas_->setPage(DefaultPrinterPage());
  viewport_->setFixedSize(std::min(canvas_->width(), kViewportMaxWidth), kViewportHeight);

  vertical_ = new QScrollBar(Qt::Vertical, this);
  NameControl(vertical_, QStringLiteral("VScroll1"), QStringLiteral("縦スクロール"));
  horizontal_ = new QScrollBar(Qt::Horizontal, this);
  NameControl(horizontal_, QStringLiteral("HScroll1"), QStringLiteral("横スクロール"));

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar);
  layout->addWidget(viewport_, 0, 0);
  layout->addWidget(vertical_, 0, 1);
  layout->addWidget(horizontal_, 1, 0);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setUpScrollBars();
  connect(vertical_, &QScrollBar::valueChanged, this, &PrintImageViewer::scrollCanvas);
  connect(horizontal_, &QScrollBar::valueChanged, this, &PrintImageViewer::scrollCanvas);
}

QString PrintImageViewer::formName() const { return page_ == 1 ? kPage1Form : kPage2Form; }

void PrintImageViewer::setUpScrollBars() {
  // The canvas can be moved until its far edge reaches the viewport's.
  auto setUp = [](QScrollBar* bar, int canvasExtent, int viewportExtent) {
    const int max = std::max(0, canvasExtent - viewportExtent);
    const int large = qRound(max / 2.0);
    const int small = qRound(large / 2.0);
    bar->setRange(0, max);
    bar->setPageStep(std::max(1, large));
    bar->setSingleStep(std::max(1, small));
    bar->setValue(0);
    bar->setEnabled(max > 0);
  };
  setUp(vertical_, canvas_->height(), viewport_->height());
  setUp(horizontal_, canvas_->width(), viewport_->width());
  scrollCanvas();
}

void PrintImageViewer::scrollCanvas() { canvas_->move(-horizontal_->value(), -vertical_->value()); }

void PrintImageViewer::clearCanvas() { canvas_->clear(); }

bool PrintImageViewer::paintPage(QPainter& painter) const {
  const ProjectRecord& record = host_.record();
  const PrintPages pages = SplitReportPages(ComposeFlowReport(record), record);
  DrawTarget target(painter, ReportFont(kScreenReportPointSize), canvas_->textOrigin());
  target.drawLines(page_ == 1 ? pages.page1 : pages.page2);
  return page_ == 2 && pages.verdictIsNo;
}

void PrintImageViewer::drawPage() {
  ++drawCount_;
  canvas_->clear();
  bool verdictIsNo = false;
  {
    QPainter painter(&canvas_->image());
    painter.setRenderHint(QPainter::TextAntialiasing);
    verdictIsNo = paintPage(painter);
  }
  canvas_->update();

  if (page_ == 1) {
    host_.hideScreen(QStringLiteral("Form12"));
  } else if (verdictIsNo) {
    host_.prompter().beep();
  }
}

void PrintImageViewer::activate() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  const int before = drawCount_;
  if (sub && sub->mdiArea()) {
    sub->mdiArea()->setActiveSubWindow(sub);
  } else {
    activateWindow();
  }
  if (page_ == 1 && drawCount_ == before) drawPage();
}

void PrintImageViewer::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (watchingActivation_ || page_ != 1) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    watchingActivation_ = true;
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates before, Qt::WindowStates now) {
      if (!(before & Qt::WindowActive) && (now & Qt::WindowActive) && isVisible()) drawPage();
    });
  }
}

void PrintImageViewer::closeEvent(QCloseEvent* event) {
  // The close box acts as "閉じる(&C)": the toolbar comes back and the
  // window is unloaded through the main window, which keeps its list of
  // screens.
  event->ignore();
  closeViewer();
}

void PrintImageViewer::nextPage() {
  if (page_ != 1) return;
  host_.hideScreen(kPage1Form);
  auto* page2 = qobject_cast<PrintImageViewer*>(host_.screen(kPage2Form));
  if (!page2) return;
  page2->clearCanvas();
  host_.showScreen(kPage2Form, 0, 0);
  page2->activate();
  page2->drawPage();
}

void PrintImageViewer::previousPage() {
  if (page_ != 2) return;
  host_.hideScreen(kPage2Form);
  auto* page1 = qobject_cast<PrintImageViewer*>(host_.screen(kPage1Form));
  if (!page1) return;
  page1->clearCanvas();
  host_.showScreen(kPage1Form, 0, 0);
  page1->activate();  // page 1 draws when it becomes active
}

void PrintImageViewer::print() { FilePrint(host_, this); }

void PrintImageViewer::write() { WriteReportFile(host_, this); }

void PrintImageViewer::launch() { LaunchReportEditor(); }

void PrintImageViewer::closeViewer() {
  host_.setToolbarVisible(true);
  host_.hideScreen(formName());
  // The window is destroyed once this menu command has returned.
  ScreenHost* host = &host_;
  const QString form = formName();
  QObject* context = host_.workArea() ? static_cast<QObject*>(host_.workArea()) : QCoreApplication::instance();
  QMetaObject::invokeMethod(context, [host, form] { host->discardScreen(form); }, Qt::QueuedConnection);
}

// ---------------------------------------------------------------- Write, Launch

void WriteReportFile(ScreenHost& host, QWidget* parent) {
  const WriteReportResult result = Kakikomi(host.record());
  if (result.verdictIsNo) host.prompter().beep();
  if (result.error) host.prompter().error(parent, *result.error);
}

void LaunchReportEditor() {
  const QString path = QFileInfo(QString::fromLatin1(kReportFileName)).absoluteFilePath();
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace mk
