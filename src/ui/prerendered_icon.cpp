#include "ui/prerendered_icon.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <optional>

namespace mk {

namespace {

const prerendered::Image* FindImage(const QString& path, const QSize& size) {
  if (size.width() != size.height()) return nullptr;
  for (int i = 0; i < prerendered::kImageCount; ++i) {
    const prerendered::Image& image = prerendered::kImages[i];
    if (image.size == size.width() && path == QLatin1String(image.path)) return &image;
  }
  return nullptr;
}

// Hands out the stored pixels where there are some and asks the SVG
// otherwise.  Where it answers, it answers as the SVG engine does: the same
// pixels for either state, and the other modes (disabled, active, selected)
// made from the normal image by the style, as the SVG engine has them made.
class PrerenderedIconEngine final : public QIconEngine {
 public:
  explicit PrerenderedIconEngine(QString path) : path_(std::move(path)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const prerendered::Image* image = FindImage(path_, size);
    if (!image) return svg().pixmap(size, mode, state);
    const quint64 key = (quint64(size.width()) << 8) | quint64(mode);
    if (const auto it = cache_.constFind(key); it != cache_.constEnd()) return it.value();
    QPixmap pixmap;
    if (mode == QIcon::Normal) {
      const QImage pixels(reinterpret_cast<const uchar*>(image->pixels), image->width, image->height,
                          image->width * 4, QImage::Format_ARGB32_Premultiplied);
      pixmap = QPixmap::fromImage(pixels);
    } else {
      pixmap = this->pixmap(size, QIcon::Normal, state);
      if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        if (!generated.isNull()) pixmap = generated;
      }
    }
    cache_.insert(key, pixmap);
    return pixmap;
  }

  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    if (const prerendered::Image* image = FindImage(path_, size)) return QSize(image->width, image->height);
    return svg().actualSize(size, mode, state);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    QSize size = rect.size();
    if (painter->device()) size *= painter->device()->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(size, mode, state));
  }

  QString key() const override { return QStringLiteral("mirukana-prerendered"); }
  QIconEngine* clone() const override { return new PrerenderedIconEngine(path_); }

 private:
  // The SVG itself, read only when a size without stored pixels is asked for.
  QIcon& svg() {
    if (!svg_) svg_.emplace(path_);
    return *svg_;
  }

  QString path_;
  std::optional<QIcon> svg_;
  QHash<quint64, QPixmap> cache_;
};

}  // namespace

QIcon PrerenderedIcon(const QString& path) { return QIcon(new PrerenderedIconEngine(path)); }

}  // namespace mk
