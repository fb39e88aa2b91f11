// The stored icon pixels stand in for the SVG renderer only where they are
// the very pixels it draws.
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

#include "ui/prerendered_icon.h"

namespace mk {
namespace {

QImage Drawn(const QIcon& icon, int size, QIcon::Mode mode) {
  return icon.pixmap(QSize(size, size), 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(PrerenderedIcon, StoredSizesMatchTheSvgEngineAndOtherSizesComeFromIt) {
  ASSERT_GE(prerendered::kImageCount, 9);
  for (int i = 0; i < prerendered::kImageCount; ++i) {
    const prerendered::Image& stored = prerendered::kImages[i];
    const QString path = QString::fromLatin1(stored.path);
    SCOPED_TRACE(path.toStdString() + " at " + std::to_string(stored.size));
    const QIcon svg(path);
    const QIcon icon = PrerenderedIcon(path);
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
      const QImage expected = Drawn(svg, stored.size, mode);
      ASSERT_FALSE(expected.isNull());
      EXPECT_EQ(Drawn(icon, stored.size, mode), expected) << "mode " << mode;
    }
    EXPECT_EQ(icon.actualSize(QSize(stored.size, stored.size)), svg.actualSize(QSize(stored.size, stored.size)));
    // A size with no stored pixels, and the on state, as the SVG has them.
    EXPECT_EQ(Drawn(icon, 48, QIcon::Normal), Drawn(svg, 48, QIcon::Normal));
    EXPECT_EQ(icon.pixmap(QSize(stored.size, stored.size), QIcon::Normal, QIcon::On).toImage(),
              svg.pixmap(QSize(stored.size, stored.size), QIcon::Normal, QIcon::On).toImage());
  }
}

}  // namespace
}  // namespace mk
