#include "ui/about_dialog.h"

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/prerendered_icon.h"
#include "ui/widget_support.h"

namespace mk {

QIcon ProgramIcon() {
  // One icon for the application, the main window and every child window:
  // the sizes the window system asks for at start are stored pixels, any
  // other size is drawn from the SVG once and then found in the icon's
  // cache.  Never destroyed, so that it cannot outlive the plugin that draws
  // it.
  static const QIcon* const icon = new QIcon(PrerenderedIcon(QStringLiteral(":/icons/mirukana.svg")));
  return *icon;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  NameScreen(this, QStringLiteral("Form10"), QStringLiteral("バージョン情報"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  auto* icon = new QLabel(this);
  NameControl(icon, QStringLiteral("Image1"), QStringLiteral("ミルカナ"));
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  auto* name = new QLabel(QStringLiteral("ミルカナ Version 1.32"), this);
  NameControl(name, QStringLiteral("Label1"));
  QFont font = name->font();
  font.setBold(true);
  name->setFont(font);
  auto* line = new QLabel(QStringLiteral("合流式下水排水施設の流量計算と流量計算書の作成"), this);
  NameControl(line, QStringLiteral("Label2"));
  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  NameControl(ok, QStringLiteral("cmdOK"), QStringLiteral("ＯＫ"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(16, 16, 16, 12);
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(8);
  grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(name, 0, 1);
  grid->addWidget(line, 1, 1);
  grid->addWidget(ok, 2, 0, 1, 2, Qt::AlignRight);
  setFixedSize(sizeHint());
}

}  // namespace mk
