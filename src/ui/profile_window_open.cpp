// Opening the profile window from the table window: the paths come from
// the table's record and computation as they stand at each redraw.

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "drawing/profile_path.h"
#include "ui/network_table_screen.h"
#include "ui/profile_window.h"

namespace mk {

void ShowProfileWindow(NetworkTableScreen& table) {
  QMdiArea* area = nullptr;
  for (QWidget* w = table.parentWidget(); w && !area; w = w->parentWidget()) area = qobject_cast<QMdiArea*>(w);
  // One profile window per table window.
  if (area) {
    for (QMdiSubWindow* sub : area->subWindowList()) {
      if (sub->widget() && sub->widget()->objectName() == QLatin1String("ProfileWindow") &&
          sub->property("mkTable").value<QObject*>() == &table) {
        sub->show();
        sub->raise();
        area->setActiveSubWindow(sub);
        return;
      }
    }
  }

  QPointer<NetworkTableScreen> source(&table);
  ProfileSource s;
  auto computed = [source] { return source && source->computation().ok(); };
  s.heads = [source, computed] {
    return computed() ? drawing::ProfileHeads(source->record(), source->computation().table) : std::vector<std::string>();
  };
  s.longestHead = [source, computed] {
    return computed() ? drawing::LongestPathHead(source->record(), source->computation().table) : std::string();
  };
  s.path = [source](const std::string& from) {
    drawing::ProfilePathResult result;
    if (!source) {
      result.refusal = "流量計算表が閉じられています。";
    } else if (!source->computation().ok()) {
      result.refusal = source->computation().refusal->message;
    } else {
      result = drawing::ProfilePathFrom(source->record(), source->computation().table, from);
    }
    return result;
  };
  auto* window = new ProfileWindow(table.prompter(), std::move(s));
  QObject::connect(table.model(), &NetworkTableModel::recomputed, window, &ProfileWindow::refresh);
  if (!area) {
    // No work area (a table shown on its own): a window of its own.
    window->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(&table, &QObject::destroyed, window, &QWidget::close);
    window->show();
    return;
  }
  QMdiSubWindow* sub = area->addSubWindow(window, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                      Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                                                      Qt::WindowCloseButtonHint);
  sub->setObjectName(QStringLiteral("ProfileSubWindow"));
  sub->setProperty("mkTable", QVariant::fromValue<QObject*>(&table));
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowTitle(QStringLiteral("縦断図"));
  QObject::connect(&table, &QObject::destroyed, sub, &QWidget::close);
  const QSize room = area->viewport()->size();
  sub->resize(room.isEmpty() ? QSize(1000, 700) : room * 0.9);
  sub->move(20, 20);
  sub->show();
  area->setActiveSubWindow(sub);
}

}  // namespace mk
