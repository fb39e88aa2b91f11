#include "ui/main_window.h"

#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace mk {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("MDIForm1");
  setWindowTitle(QStringLiteral("ミルカナ"));
  setAccessibleDescription("MDIForm1");
  auto* area = new QMdiArea(this);
  area->setObjectName("MDIArea");
  setCentralWidget(area);
  menuBar()->setObjectName("MenuBar");
  auto* toolbar = addToolBar(QStringLiteral("ツールバー"));
  toolbar->setObjectName("Toolbar1");
  auto* bar = statusBar();
  bar->setObjectName("sbr1");
  msg_ = new QLabel(this);
  msg_->setObjectName("msg");
  msg_->setAccessibleDescription("msg");
  bar->addWidget(msg_, 1);
  setStatusNotice(QStringLiteral("メニューバーのファイル又はツールバーより、新規作成又は開くを選択してください。"));
  resize(1024, 768);
}

void MainWindow::setStatusNotice(const QString& text) {
  msg_->setText(text);
  msg_->setAccessibleName(text);
}

QString MainWindow::statusNotice() const { return msg_->text(); }

}  // namespace mk
