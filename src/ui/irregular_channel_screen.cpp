#include "ui/irregular_channel_screen.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/flow_time_selection_screen.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"

namespace mk {

namespace {

const char* const kNoticeHalfWidthStop =
    "流出係数（C）、降雨強度（I） 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡";
const char* const kNoticeFullWidthStop =
    "流出係数（C）、降雨強度（I） 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事。";

// The vertex table's ruling.
constexpr int kNumberColumn = 30;
constexpr int kValueColumn = 66;
constexpr int kRowHeight = 24;

}  // namespace

// ---------------------------------------------------------------- drawing

OutlineDrawing::OutlineDrawing(QWidget* parent) : QWidget(parent) {
  NameControl(this, QStringLiteral("Picture1"), QStringLiteral("断面図"));
  setFixedSize(180, 140);
}

void OutlineDrawing::setOutline(const std::vector<DrawingPoint>& points) {
  points_ = points;
  update();
}

void OutlineDrawing::clearOutline() {
  points_.clear();
  update();
}

void OutlineDrawing::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.setPen(QPen(QColor(128, 128, 128), 1));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (points_.size() < 2) return;
  QPolygonF outline;
  for (const DrawingPoint& point : points_) outline << QPointF(point.x, point.y);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(outline);
}

VerticalCaption::VerticalCaption(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QSize VerticalCaption::sizeHint() const {
  const QFontMetrics metrics(font());
  int width = 0;
  for (const QChar c : text()) width = std::max(width, metrics.horizontalAdvance(c));
  return {width + 4, metrics.height() * static_cast<int>(text().size()) + 4};
}

void VerticalCaption::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QFontMetrics metrics(font());
  int y = 2 + metrics.ascent();
  for (const QChar c : text()) {
    const int advance = metrics.horizontalAdvance(c);
    if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
      // Brackets turn with the line, as in vertical writing.
      p.save();
      p.translate(width() / 2.0, y - metrics.ascent() + metrics.height() / 2.0);
      p.rotate(90);
      p.drawText(QPointF(-advance / 2.0, metrics.ascent() / 2.0 - metrics.descent() / 2.0), QString(c));
      p.restore();
    } else {
      p.drawText(QPointF((width() - advance) / 2.0, y), QString(c));
    }
    y += metrics.height();
  }
}

// ---------------------------------------------------------------- vertex table

VertexBox::VertexBox(QWidget* parent) : EntryBox(parent) { showBorder(false); }

void VertexBox::showBorder(bool shown) {
  setFrame(false);
  setStyleSheet(shown ? QStringLiteral("QLineEdit { border: 1px solid black; background: white; }")
                      : QStringLiteral("QLineEdit { border: none; background: transparent; }"));
}

void VertexBox::focusInEvent(QFocusEvent* event) {
  showBorder(true);
  EntryBox::focusInEvent(event);
}

void VertexBox::focusOutEvent(QFocusEvent* event) {
  showBorder(false);
  EntryBox::focusOutEvent(event);
}

VertexTable::VertexTable(QWidget* parent) : QWidget(parent) {
  NameControl(this, QStringLiteral("Frame2"), QStringLiteral("頂点の座標"));
  for (int row = 0; row < 8; ++row) {
    const int top = kRowHeight * (row + 1) + 2;
    x_[row] = new VertexBox(this);
    NameControl(x_[row], QStringLiteral("txt_x%1").arg(row + 1), QStringLiteral("Ｘ%1(m)").arg(row));
    x_[row]->setGeometry(kNumberColumn + 2, top, kValueColumn - 4, kRowHeight - 4);
    y_[row] = new VertexBox(this);
    NameControl(y_[row], QStringLiteral("txt_y%1").arg(row + 1), QStringLiteral("Y%1(m)").arg(row));
    y_[row]->setGeometry(kNumberColumn + kValueColumn + 2, top, kValueColumn - 4, kRowHeight - 4);
  }
  setFixedSize(sizeHint());
}

QSize VertexTable::sizeHint() const {
  return {kNumberColumn + 2 * kValueColumn + 1, kRowHeight * 9 + 1};
}

void VertexTable::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int width = kNumberColumn + 2 * kValueColumn;
  const int height = kRowHeight * 9;
  p.fillRect(QRect(0, 0, width, kRowHeight), palette().window());
  p.fillRect(QRect(0, kRowHeight, width, height - kRowHeight), Qt::white);
  p.setPen(QPen(Qt::black, 1));
  for (int row = 0; row <= 9; ++row) p.drawLine(0, row * kRowHeight, width, row * kRowHeight);
  for (int x : {0, kNumberColumn, kNumberColumn + kValueColumn, width}) p.drawLine(x, 0, x, height);

  const auto cell = [](int column, int row) {
    const int left = column == 0 ? 0 : kNumberColumn + (column - 1) * kValueColumn;
    return QRect(left, row * kRowHeight, column == 0 ? kNumberColumn : kValueColumn, kRowHeight);
  };
  p.drawText(cell(1, 0), Qt::AlignCenter, QStringLiteral("Ｘ(m)"));
  p.drawText(cell(2, 0), Qt::AlignCenter, QStringLiteral("Y(m)"));
  for (int row = 0; row < 8; ++row) p.drawText(cell(0, row + 1), Qt::AlignCenter, QString::number(row));
}

// ---------------------------------------------------------------- screen

IrregularChannelScreen::IrregularChannelScreen(ScreenHost& host, QWidget* parent)
    : FlowTimeFacilityScreen(host, QStringLiteral("Form21"), QStringLiteral("その他排水溝"), parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 12);
  layout->setSpacing(8);
  layout->addWidget(makeHeading(QStringLiteral("その他排水溝")));

  auto* body = new QHBoxLayout;
  body->setSpacing(14);
  layout->addLayout(body);

  // Left: name, the descriptive dimensions, slope and roughness.
  auto* inputs = new QGridLayout;
  inputs->setVerticalSpacing(6);
  int row = 0;
  auto caption = [&](const QString& text, const QString& name) {
    auto* label = new QLabel(text, this);
    NameControl(label, name);
    return label;
  };
  inputs->addWidget(caption(QStringLiteral("材料・名称"), QStringLiteral("Label2")), row++, 0, 1, 3);
  txt_m_ = new EntryBox(this);
  NameControl(txt_m_, QStringLiteral("txt_m"), QStringLiteral("材料・名称"));
  inputs->addWidget(txt_m_, row++, 0, 1, 3);
  const QString dimCaptions[] = {QStringLiteral("下部巾："), QStringLiteral("上部巾："),
                                 QStringLiteral("高さ：")};
  for (int i = 0; i < 3; ++i, ++row) {
    txt_[i] = new EntryBox(this);
    NameControl(txt_[i], QStringLiteral("txt%1").arg(i + 1), dimCaptions[i]);
    inputs->addWidget(caption(dimCaptions[i], QStringLiteral("Label%1").arg(i + 3)), row, 0, Qt::AlignRight);
    inputs->addWidget(txt_[i], row, 1);
    inputs->addWidget(new QLabel(QStringLiteral("m"), this), row, 2);
  }
  inputs->addWidget(caption(QStringLiteral("排水溝の勾配"), QStringLiteral("Label6")), row++, 0, 1, 3);
  txt_[3] = new EntryBox(this);
  NameControl(txt_[3], QStringLiteral("txt4"), QStringLiteral("排水溝の勾配 x/1000 x＝"));
  inputs->addWidget(caption(QStringLiteral("x/1000 x＝"), QStringLiteral("Label7")), row, 0, Qt::AlignRight);
  inputs->addWidget(txt_[3], row++, 1);
  txt_[4] = new EntryBox(this);
  NameControl(txt_[4], QStringLiteral("txt5"), QStringLiteral("粗度係数 n＝"));
  inputs->addWidget(caption(QStringLiteral("粗度係数 n＝"), QStringLiteral("Label8")), row, 0, Qt::AlignRight);
  inputs->addWidget(txt_[4], row++, 1);
  for (EntryBox* box : txt_) box->setFixedWidth(90);
  inputs->setColumnStretch(2, 1);
  inputs->setRowStretch(row, 1);
  body->addLayout(inputs);

  // Middle: the vertex table.
  table_ = new VertexTable(this);
  body->addWidget(table_, 0, Qt::AlignTop);

  // Right: the drawing with its axis captions and the instruction over it.
  auto* drawingGrid = new QGridLayout;
  drawingGrid->setSpacing(2);
  auto* origin = new QLabel(QStringLiteral("(0，0)"), this);
  NameControl(origin, QStringLiteral("Label12"));
  auto* xAxis = new QLabel(QStringLiteral("Ｘ軸(＋)"), this);
  NameControl(xAxis, QStringLiteral("Label13"));
  auto* yAxis = new VerticalCaption(QStringLiteral("Ｙ軸(＋)"), this);
  NameControl(yAxis, QStringLiteral("Label14"));
  Picture1_ = new OutlineDrawing(this);
  Label15_ = new QLabel(
      QStringLiteral("有効水深部分（水に接している辺）を左上より、座標を反時計回りに入力してください｡"),
      Picture1_);
  NameControl(Label15_, QStringLiteral("Label15"));
  Label15_->setWordWrap(true);
  Label15_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label15_->setGeometry(Picture1_->rect().adjusted(8, 8, -8, -8));
  // "(0，0)" over the drawing's upper-left corner, "Ｘ軸(＋)" over its
  // upper-right end, "Ｙ軸(＋)" down its left side.
  auto* captionRow = new QWidget(this);
  captionRow->setFixedWidth(Picture1_->width());
  auto* topCaptions = new QHBoxLayout(captionRow);
  topCaptions->setContentsMargins(0, 0, 0, 0);
  origin->setParent(captionRow);
  xAxis->setParent(captionRow);
  topCaptions->addWidget(origin);
  topCaptions->addStretch(1);
  topCaptions->addWidget(xAxis);
  drawingGrid->addWidget(captionRow, 0, 1, Qt::AlignLeft);
  drawingGrid->addWidget(yAxis, 1, 0, Qt::AlignRight | Qt::AlignTop);
  drawingGrid->addWidget(Picture1_, 1, 1, Qt::AlignLeft | Qt::AlignTop);
  drawingGrid->setRowStretch(2, 1);

  auto* right = new QVBoxLayout;
  right->addLayout(drawingGrid);
  right->addStretch(1);
  cmd1_ = new QPushButton(QStringLiteral("計算"), this);
  NameControl(cmd1_, QStringLiteral("cmd1"), cmd1_->text());
  cmd3_ = new QPushButton(QStringLiteral("描画"), this);
  NameControl(cmd3_, QStringLiteral("cmd3"), cmd3_->text());
  cmd2_ = makeCancelButton();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmd1_);
  buttons->addWidget(cmd3_);
  buttons->addWidget(cmd2_);
  right->addLayout(buttons);
  body->addLayout(right);

  // Enter runs through the boxes outside the vertex table; from the
  // roughness it goes to "計算".
  enter_ = new EnterOrder(this);
  enter_->setOrder({txt_m_, txt_[0], txt_[1], txt_[2], txt_[3], txt_[4], cmd1_});

  IrregularChannelInputs& f = host_.record().flowTime.form21;
  BindTextToRecord(txt_m_, &f.txt_m);
  std::string* fields[] = {&f.txt1, &f.txt2, &f.txt3, &f.txt4, &f.txt5};
  for (int i = 0; i < 5; ++i) BindTextToRecord(txt_[i], fields[i]);
  for (int i = 0; i < 8; ++i) {
    BindTextToRecord(table_->xBox(i), &f.txt_x[static_cast<size_t>(i)]);
    BindTextToRecord(table_->yBox(i), &f.txt_y[static_cast<size_t>(i)]);
  }

  // Clicks: the name box withdraws the main check's result; the other boxes
  // remind of the local guidelines; a vertex box also wipes the drawing,
  // which no longer matches the table being edited.
  connect(txt_m_, &EntryBox::clicked, this, [this] {
    host_.discardRunResult();
    host_.setStatusNotice(QString::fromUtf8(kNoticeFullWidthStop));
  });
  for (EntryBox* box : txt_) {
    connect(box, &EntryBox::clicked, this,
            [this] { host_.setStatusNotice(QString::fromUtf8(kNoticeHalfWidthStop)); });
  }
  for (int i = 0; i < 8; ++i) {
    for (EntryBox* box : {static_cast<EntryBox*>(table_->xBox(i)), static_cast<EntryBox*>(table_->yBox(i))}) {
      connect(box, &EntryBox::clicked, this, [this] {
        Picture1_->clearOutline();
        host_.setStatusNotice(QString::fromUtf8(kNoticeHalfWidthStop));
      });
    }
  }

  connect(cmd1_, &QPushButton::clicked, this, [this] { computeAndDraw(true); });
  connect(cmd3_, &QPushButton::clicked, this, [this] { computeAndDraw(false); });

  load();
}

void IrregularChannelScreen::load() {
  const IrregularChannelInputs& f = host_.record().flowTime.form21;
  txt_m_->setText(QString::fromStdString(f.txt_m));
  const std::string* fields[] = {&f.txt1, &f.txt2, &f.txt3, &f.txt4, &f.txt5};
  for (int i = 0; i < 5; ++i) txt_[i]->setText(QString::fromStdString(*fields[i]));
  for (int i = 0; i < 8; ++i) {
    table_->xBox(i)->setText(QString::fromStdString(f.txt_x[static_cast<size_t>(i)]));
    table_->yBox(i)->setText(QString::fromStdString(f.txt_y[static_cast<size_t>(i)]));
  }
}

void IrregularChannelScreen::computeAndDraw(bool handBackVelocity) {
  // The outline is drawn as soon as the section has passed its checks, before
  // R, I and V: a slope or roughness the velocity refuses leaves it drawn.
  const std::optional<double> velocity = computeVelocity([this] { draw(); });
  if (!velocity) return;
  if (handBackVelocity) handBack(*velocity);
}

void IrregularChannelScreen::draw() {
  const IrregularChannelInputs& f = host_.record().flowTime.form21;
  const Outcome<std::vector<DrawingPoint>> points = PolygonOutlinePoints(f.txt_x, f.txt_y);
  if (!points) {
    host_.prompter().error(this, QString::fromStdString(points.error().message));
    return;
  }
  Label15_->hide();
  Picture1_->setOutline(points.value());
}

}  // namespace mk
