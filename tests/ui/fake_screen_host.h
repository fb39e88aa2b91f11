#pragma once
// A ScreenHost for screen tests: a real work area and real screens (made by
// CreateScreen), a RecordingPrompter, and a record of what the screens asked
// of the main window.

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

#include "ui/prompter.h"
#include "ui/screen_factory.h"
#include "ui/screen_host.h"
#include "ui/widget_support.h"

namespace mk::testing {

class FakeScreenHost : public ScreenHost {
 public:
  FakeScreenHost() {
    window_.resize(1200, 900);
    area_ = new QMdiArea(&window_);
    area_->resize(1200, 900);
    window_.show();
  }
  ~FakeScreenHost() override {
    for (auto& s : screens_)
      if (s && !s->parent()) delete s.data();
  }

  ProjectRecord& record() override { return record_; }
  Prompter& prompter() override { return prompter_; }
  QMdiArea* workArea() override { return area_; }
  void setStatusNotice(const QString& text) override { status_ = text; }
  QString statusNotice() const override { return status_; }
  void setToolbarVisible(bool visible) override { toolbarVisible = visible; }
  void setReferenceMenuEnabled(bool enabled) override { referenceMenuEnabled = enabled; }
  void discardRunResult() override {
    ++discardCount;
    DiscardRunResult(record_);
  }
  void showRunResult(const QString& lbl16, const QString& lbl17, bool verdictIsNo) override {
    ++showResultCount;
    lastLbl16 = lbl16;
    lastLbl17 = lbl17;
    lastVerdictIsNo = verdictIsNo;
  }

  QWidget* findScreen(const QString& form) override {
    auto it = screens_.find(form);
    return it == screens_.end() ? nullptr : it.value().data();
  }
  QWidget* screen(const QString& form) override {
    if (QWidget* existing = findScreen(form)) return existing;
    QWidget* created = CreateScreen(form, *this, nullptr);
    if (!created) return nullptr;
    if (!qobject_cast<QDialog*>(created)) {
      auto* sub = area_->addSubWindow(created);
      sub->hide();
    }
    screens_[form] = created;
    return created;
  }
  QWidget* showScreen(const QString& form, int leftTwips, int topTwips) override {
    QWidget* s = screen(form);
    if (!s) return nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget())) {
      sub->move(TwipsToPixels(leftTwips), TwipsToPixels(topTwips));
      sub->show();
    }
    s->show();
    s->raise();
    return s;
  }
  void hideScreen(const QString& form) override {
    if (QWidget* s = findScreen(form)) {
      if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget())) sub->hide();
      s->hide();
    }
  }
  void discardScreen(const QString& form) override {
    if (QWidget* s = findScreen(form)) {
      screens_.remove(form);
      if (auto* sub = qobject_cast<QMdiSubWindow*>(s->parentWidget())) {
        area_->removeSubWindow(s);
        delete sub;
      }
      delete s;
    }
  }
  bool focusControl(const QString& formDotControl) override {
    const auto parts = formDotControl.split('.');
    if (parts.size() != 2) return false;
    QWidget* s = findScreen(parts[0]);
    if (!s) return false;
    auto* control = s->findChild<QWidget*>(parts[1]);
    if (!control) return false;
    if (auto* entry = qobject_cast<EntryBox*>(control))
      entry->focusCaretAtStart();
    else
      control->setFocus();
    lastFocusRequest = formDotControl;
    return true;
  }

  // Convenience for tests.
  template <typename T>
  T* control(const QString& form, const QString& name) {
    QWidget* s = findScreen(form);
    return s ? s->findChild<T*>(name) : nullptr;
  }

  RecordingPrompter prompter_;
  bool toolbarVisible = true;
  bool referenceMenuEnabled = true;
  int discardCount = 0;
  int showResultCount = 0;
  QString lastLbl16, lastLbl17;
  bool lastVerdictIsNo = false;
  QString lastFocusRequest;

 private:
  ProjectRecord record_;
  QWidget window_;
  QMdiArea* area_ = nullptr;
  QString status_;
  QMap<QString, QPointer<QWidget>> screens_;
};

}  // namespace mk::testing
