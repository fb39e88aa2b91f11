#include "paper/report_paint.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace mk {

QFont ReportFont(double pointSize) {
  static const bool registered = [] {
    QFont::insertSubstitution(QString::fromUtf8(kReportFontFamily), QString::fromUtf8(kReportFontSubstitute));
    return true;
  }();
  (void)registered;
  QFont font(QString::fromUtf8(kReportFontFamily));
  font.setPointSizeF(pointSize);
  font.setStyleHint(QFont::Serif);
  // Unhinted outlines give the font's own fractional advances at any size.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  return font;
}

bool ReportFontKeepsColumns(const QFont& font, QPaintDevice* device) {
  const QFontInfo info(font);
  if (info.family() != QString::fromUtf8(kReportFontSubstitute) && !info.fixedPitch()) return false;
  const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
  const double half = metrics.horizontalAdvance(QStringLiteral("0"));
  if (half <= 0.0) return false;
  const double tolerance = half * 0.001;
  for (const QString& narrow : {QStringLiteral("i"), QStringLiteral("W"), QStringLiteral("ｺ"), QStringLiteral("･")}) {
    if (std::abs(metrics.horizontalAdvance(narrow) - half) > tolerance) return false;
  }
  for (const QString& wide : {QStringLiteral("あ"), QStringLiteral("流"), QStringLiteral("＋"), QStringLiteral("―")}) {
    if (std::abs(metrics.horizontalAdvance(wide) - 2.0 * half) > tolerance) return false;
  }
  return true;
}

// ---------------------------------------------------------------- DrawTarget

DrawTarget::DrawTarget(QPainter& painter, const QFont& font, QPointF origin)
    : painter_(painter), font_(font), origin_(origin), position_(origin) {
  QPaintDevice* device = painter_.device();
  const double dpiX = device ? device->logicalDpiX() : 96.0;
  const double dpiY = device ? device->logicalDpiY() : 96.0;
  const double em = font_.pointSizeF() > 0 ? font_.pointSizeF() : 12.0;
  lineHeight_ = em * dpiY / 72.0;
  columnWidth_ = em * dpiX / 72.0 / 2.0;
  // The baseline divides the line's em box as the font divides its height.
  const QFontMetricsF metrics = device ? QFontMetricsF(font_, device) : QFontMetricsF(font_);
  const double height = metrics.ascent() + metrics.descent();
  ascent_ = height > 0 ? lineHeight_ * metrics.ascent() / height : lineHeight_ * 0.86;

  // The band a rule character's stroke covers, from the glyph's outline
  // (outlines are in the font's own units; its advance of one em spans two
  // columns here).  At least one device pixel, so that a thin stroke does
  // not vanish on screen.
  const QString rule = QString(QChar(kRuleCharacter));
  QPainterPath outline;
  outline.addText(0.0, 0.0, font_, rule);
  const double advance = QFontMetricsF(font_).horizontalAdvance(rule);
  const QRectF stroke = outline.boundingRect();
  if (advance > 0 && !stroke.isEmpty()) {
    const double scale = 2.0 * columnWidth_ / advance;
    ruleHeight_ = stroke.height() * scale;
    ruleTop_ = stroke.top() * scale;
  } else {
    ruleHeight_ = lineHeight_ * 0.05;
    ruleTop_ = -ascent_ * 0.45;
  }
  if (ruleHeight_ < 1.0) {
    ruleTop_ -= (1.0 - ruleHeight_) / 2.0;
    ruleHeight_ = 1.0;
  }
}

void DrawTarget::drawLine(const PrintLine& line) {
  if (!line.text.empty() && painter_.isActive()) {
    painter_.setFont(font_);
    const QColor color = ReportLineColor(line.magenta);
    painter_.setPen(color);
    const QFontMetricsF metrics(font_, painter_.device());
    const double baseline = position_.y() + ascent_;
    double x = origin_.x();
    // A run of rule characters is one line over their columns: their glyphs
    // side by side would leave gaps at their side bearings.
    double ruleStart = -1.0;
    auto endRule = [&] {
      if (ruleStart < 0.0) return;
      painter_.fillRect(QRectF(ruleStart, baseline + ruleTop_, x - ruleStart, ruleHeight_), color);
      ruleStart = -1.0;
    };
    for (char32_t c : DecodeUtf8(line.text)) {
      const double cell = CharacterColumns(c) * columnWidth_;
      if (c == kRuleCharacter) {
        if (ruleStart < 0.0) ruleStart = x;
      } else {
        endRule();
      }
      if (c != U' ' && c != U'　' && c != kRuleCharacter) {
        const QString glyph = QString::fromUcs4(&c, 1);
        // A glyph narrower than its cell (a fallback font) sits in its middle.
        const double advance = metrics.horizontalAdvance(glyph);
        const double dx = advance > 0 && advance < cell ? (cell - advance) / 2.0 : 0.0;
        painter_.drawText(QPointF(x + dx, baseline), glyph);
      }
      x += cell;
    }
    endRule();
  }
  position_ = QPointF(origin_.x(), position_.y() + lineHeight_);
}

void DrawTarget::drawLines(const PrintLines& lines) {
  for (const PrintLine& line : lines) drawLine(line);
}

void DrawTarget::toTop() { position_ = origin_; }

QPageLayout PdfPageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5.0, 5.0, 0.0, 5.0),
                     QPageLayout::Millimeter);
}

}  // namespace mk
