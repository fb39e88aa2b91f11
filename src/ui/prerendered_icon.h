#pragma once
// Icons whose common sizes were drawn from their SVGs when the program was
// built (by Qt's own SVG icon engine, the tool in icon_render/).  At those
// sizes the icon hands out the stored pixels, so that the start draws the
// window and toolbar icons without loading and running the SVG renderer;
// every other size, and the high-density sizes, come from the SVG as before.

#include <QIcon>
#include <QString>
#include <QtGlobal>

namespace mk {

// The icon of the SVG resource `path` (":/icons/new.svg").
QIcon PrerenderedIcon(const QString& path);

namespace prerendered {

// One stored image: the resource path, the square size it was asked for,
// its actual size (an SVG that is not square keeps its shape) and its
// pixels, premultiplied ARGB, row by row.
struct Image {
  const char* path;
  int size;
  int width;
  int height;
  const quint32* pixels;
};

// The generated table (prerendered_icon_pixels.cpp in the build folder).
extern const Image kImages[];
extern const int kImageCount;

}  // namespace prerendered

}  // namespace mk
