#include "ui/intensity_library.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/print_image.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"
#include "ui/sub_screen_support.h"
#include "ui/widget_support.h"

namespace mk {
namespace {

constexpr const char* kFormat = "mirukana-intensity-formulas";
constexpr int kVersion = 1;
const QString kFilter = QStringLiteral("降雨強度式(.json) (*.json)");

QString FormulaMark(IntensityFormula formula) {
  static const char* const marks[6] = {"①", "②", "③", "④", "⑤", "⑥"};
  return QString::fromUtf8(marks[static_cast<int>(formula)]);
}

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// The entry the intensity screen holds now, or the message and the box to
// focus when it holds no complete formula.
std::optional<CalcError> CheckScreenFormula(const IntensityScreenInputs& s) {
  const auto formula = ChosenFormula(s);
  if (!formula) return CalcError{"降雨強度式を選択してください。", ""};
  if (s.txt1.empty()) return CalcError{"定数ａを入力してください。", "Form12.txt1"};
  if (s.txt2.empty()) return CalcError{"定数ｂを入力してください。", "Form12.txt2"};
  if (UsesConstantsCD(*formula) && s.txt6.empty()) return CalcError{"定数ｃを入力してください。", "Form12.txt6"};
  if (UsesConstantsCD(*formula) && s.txt7.empty()) return CalcError{"定数ｄを入力してください。", "Form12.txt7"};
  return std::nullopt;
}

IntensityLibraryEntry EntryFromScreen(const IntensityScreenInputs& s) {
  IntensityLibraryEntry entry;
  entry.formula = *ChosenFormula(s);
  entry.a = QString::fromStdString(s.txt1);
  entry.b = QString::fromStdString(s.txt2);
  if (UsesConstantsCD(entry.formula)) {
    entry.c = QString::fromStdString(s.txt6);
    entry.d = QString::fromStdString(s.txt7);
  }
  return entry;
}

QString Constants(const IntensityLibraryEntry& e) {
  QString text = QStringLiteral("ａ=%1　ｂ=%2").arg(e.a, e.b);
  if (UsesConstantsCD(e.formula)) text += QStringLiteral("　ｃ=%1　ｄ=%2").arg(e.c, e.d);
  return text;
}

bool AskYes(Prompter& prompter, QWidget* parent, const QString& title, const QString& text) {
  return prompter.ask(parent, PromptRequest{title, text, PromptButtons::YesNo, PromptIcon::Question,
                                            PromptAnswer::No}) == PromptAnswer::Yes;
}

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  NameControl(button, name, caption);
  button->setAutoDefault(false);
  return button;
}

// ------------------------------------------------------------ 登録

class RegisterWindow : public QDialog {
 public:
  RegisterWindow(Prompter& prompter, IntensityLibraryEntry entry, QWidget* parent)
      : QDialog(parent), prompter_(prompter), entry_(std::move(entry)) {
    NameScreen(this, QStringLiteral("IntensityRegister"), QStringLiteral("降雨強度式の登録"));
    auto* formula = new QLabel(QStringLiteral("式 %1　%2").arg(FormulaMark(entry_.formula), Constants(entry_)), this);
    NameControl(formula, QStringLiteral("lblFormula"), formula->text());
    name_ = new QLineEdit(this);
    NameControl(name_, QStringLiteral("txtName"), QStringLiteral("名称"));
    source_ = new QLineEdit(this);
    NameControl(source_, QStringLiteral("txtSource"), QStringLiteral("出典"));
    source_->setMinimumWidth(360);
    auto* grid = new QGridLayout;
    grid->addWidget(formula, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("名称"), this), 1, 0);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("出典"), this), 2, 0);
    grid->addWidget(source_, 2, 1);
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(OkCancelRow(ok, cancel));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(ok, &QPushButton::clicked, this, &RegisterWindow::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(name_, &QLineEdit::returnPressed, source_, [this] { source_->setFocus(); });
    connect(source_, &QLineEdit::returnPressed, this, &RegisterWindow::save);
    name_->setFocus();
  }

 private:
  void save() {
    Prompter& prompter = prompter_;
    entry_.name = name_->text().trimmed();
    entry_.source = source_->text().trimmed();
    if (entry_.name.isEmpty()) {
      prompter.error(this, QStringLiteral("名称を入力してください。"));
      name_->setFocus();
      return;
    }
    const QString path = IntensityLibraryPath();
    IntensityLibraryRead library = ReadIntensityLibrary(path);
    if (library.error) {  // never written over: the user's entries are in it
      prompter.error(this, *library.error);
      return;
    }
    const bool known = std::any_of(library.entries.begin(), library.entries.end(),
                                   [&](const IntensityLibraryEntry& e) { return e.name == entry_.name; });
    if (known && !AskYes(prompter, this, QStringLiteral("確認"),
                         QStringLiteral("「%1」は登録されています。置き換えますか？").arg(entry_.name))) {
      name_->setFocus();
      return;
    }
    PutIntensityEntry(library.entries, entry_);
    if (const auto error = WriteIntensityLibrary(path, library.entries)) {
      prompter.error(this, *error);
      return;
    }
    accept();
  }

  Prompter& prompter_;
  IntensityLibraryEntry entry_;
  QLineEdit* name_ = nullptr;
  QLineEdit* source_ = nullptr;
};

// ------------------------------------------------------------ 呼出

class RecallWindow : public QDialog {
 public:
  RecallWindow(Prompter& prompter, QList<IntensityLibraryEntry> entries,
               std::function<void(const IntensityLibraryEntry&)> apply, QWidget* parent)
      : QDialog(parent), prompter_(prompter), entries_(std::move(entries)), apply_(std::move(apply)) {
    NameScreen(this, QStringLiteral("IntensityLibrary"), QStringLiteral("降雨強度式の呼出"));
    table_ = new QTableWidget(0, 4, this);
    NameControl(table_, QStringLiteral("grdFormulas"), QStringLiteral("登録された降雨強度式"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("名称"), QStringLiteral("式"), QStringLiteral("定数"), QStringLiteral("出典")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setMinimumSize(640, 220);
    OnEnter(table_, [this] { recall(); });  // the current entry
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { recall(); });

    auto* recallButton = Button(QStringLiteral("cmdRecall"), QStringLiteral("呼出"), this);
    auto* remove = Button(QStringLiteral("cmdDelete"), QStringLiteral("削除"), this);
    auto* import = Button(QStringLiteral("cmdImport"), QStringLiteral("読込"), this);
    auto* exportButton = Button(QStringLiteral("cmdExport"), QStringLiteral("書出"), this);
    auto* close = Button(QStringLiteral("cmdClose"), QStringLiteral("閉じる"), this);
    connect(recallButton, &QPushButton::clicked, this, &RecallWindow::recall);
    connect(remove, &QPushButton::clicked, this, &RecallWindow::removeCurrent);
    connect(import, &QPushButton::clicked, this, &RecallWindow::importFile);
    connect(exportButton, &QPushButton::clicked, this, &RecallWindow::exportFile);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(recallButton);
    buttons->addWidget(remove);
    buttons->addSpacing(16);
    buttons->addWidget(import);
    buttons->addWidget(exportButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    fill(0);
    table_->setFocus();
  }

 private:
  void fill(int current) {
    table_->setRowCount(static_cast<int>(entries_.size()));
    for (int r = 0; r < entries_.size(); ++r) {
      const IntensityLibraryEntry& e = entries_[r];
      const QStringList cells{e.name, FormulaMark(e.formula), Constants(e), e.source};
      for (int c = 0; c < cells.size(); ++c) table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table_->resizeColumnToContents(0);
    table_->resizeColumnToContents(1);
    table_->resizeColumnToContents(2);
    if (!entries_.isEmpty()) table_->setCurrentCell(std::clamp(current, 0, static_cast<int>(entries_.size()) - 1), 0);
  }

  // Writes the library; false (with the message shown) when it could not.
  bool store(const QList<IntensityLibraryEntry>& entries) {
    if (const auto error = WriteIntensityLibrary(IntensityLibraryPath(), entries)) {
      prompter_.error(this, *error);
      return false;
    }
    entries_ = entries;
    return true;
  }

  void recall() {
    const int row = table_->currentRow();
    if (row < 0 || row >= entries_.size()) return;
    const IntensityLibraryEntry entry = entries_[row];
    accept();
    if (apply_) apply_(entry);
  }

  void removeCurrent() {
    const int row = table_->currentRow();
    if (row < 0 || row >= entries_.size()) return;
    if (!AskYes(prompter_, this, QStringLiteral("確認"),
                QStringLiteral("「%1」を削除してもよろしいですか？").arg(entries_[row].name)))
      return;
    QList<IntensityLibraryEntry> kept = entries_;
    kept.removeAt(row);
    if (store(kept)) fill(row);
  }

  void importFile() {
    Prompter& prompter = prompter_;
    const QString path = prompter.chooseFile(
        this, FileDialogRequest{false, QStringLiteral("降雨強度式の読込"), DocumentsFolder(), kFilter});
    if (path.isEmpty()) return;
    const IntensityLibraryRead read = ReadIntensityLibrary(path);
    if (read.error || !QFileInfo::exists(path)) {
      prompter.error(this, read.error ? *read.error
                                      : QStringLiteral("「%1」を読み込めませんでした。").arg(Native(path)));
      return;
    }
    QList<IntensityLibraryEntry> merged = entries_;
    for (const IntensityLibraryEntry& entry : read.entries) PutIntensityEntry(merged, entry);
    if (store(merged)) fill(table_->currentRow());
  }

  void exportFile() {
    Prompter& prompter = prompter_;
    QString path = prompter.chooseFile(
        this, FileDialogRequest{true, QStringLiteral("降雨強度式の書出"),
                                QDir(DocumentsFolder()).filePath(QStringLiteral("intensity_formulas.json")), kFilter});
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".json");
    if (QFileInfo::exists(path) &&
        prompter.ask(this, PromptRequest{QStringLiteral("上書き保存の確認"),
                                         QStringLiteral("同名ファイルがあります。上書き保存しますか？"),
                                         PromptButtons::YesNo, PromptIcon::Stop, PromptAnswer::No}) !=
            PromptAnswer::Yes)
      return;
    if (const auto error = WriteIntensityLibrary(path, entries_)) prompter.error(this, *error);
  }

  Prompter& prompter_;
  QList<IntensityLibraryEntry> entries_;
  std::function<void(const IntensityLibraryEntry&)> apply_;
  QTableWidget* table_ = nullptr;
};

}  // namespace

QString IntensityLibraryPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
      .filePath(QStringLiteral("intensity_formulas.json"));
}

IntensityLibraryRead ReadIntensityLibrary(const QString& path) {
  IntensityLibraryRead read;
  QFile file(path);
  if (!file.exists()) return read;
  const QString unreadable = QStringLiteral("「%1」は降雨強度式の登録ファイルとして読み込めませんでした。").arg(Native(path));
  if (!file.open(QIODevice::ReadOnly)) {
    read.error = unreadable;
    return read;
  }
  const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
  const QJsonObject root = document.object();
  if (!document.isObject() || root.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
      root.value(QStringLiteral("version")).toInt() != kVersion || !root.value(QStringLiteral("formulas")).isArray()) {
    read.error = unreadable;
    return read;
  }
  for (const QJsonValue& value : root.value(QStringLiteral("formulas")).toArray()) {
    const QJsonObject o = value.toObject();
    const int number = o.value(QStringLiteral("formula")).toInt();
    IntensityLibraryEntry entry;
    entry.name = o.value(QStringLiteral("name")).toString().trimmed();
    if (entry.name.isEmpty() || number < 1 || number > 6) {
      read.entries.clear();
      read.error = unreadable;
      return read;
    }
    entry.formula = static_cast<IntensityFormula>(number - 1);
    entry.source = o.value(QStringLiteral("source")).toString();
    entry.a = o.value(QStringLiteral("a")).toString();
    entry.b = o.value(QStringLiteral("b")).toString();
    entry.c = o.value(QStringLiteral("c")).toString();
    entry.d = o.value(QStringLiteral("d")).toString();
    PutIntensityEntry(read.entries, entry);
  }
  return read;
}

std::optional<QString> WriteIntensityLibrary(const QString& path, const QList<IntensityLibraryEntry>& entries) {
  QJsonArray formulas;
  for (const IntensityLibraryEntry& e : entries) {
    formulas.append(QJsonObject{{QStringLiteral("name"), e.name},
                                {QStringLiteral("source"), e.source},
                                {QStringLiteral("formula"), static_cast<int>(e.formula) + 1},
                                {QStringLiteral("a"), e.a},
                                {QStringLiteral("b"), e.b},
                                {QStringLiteral("c"), e.c},
                                {QStringLiteral("d"), e.d}});
  }
  const QJsonObject root{{QStringLiteral("format"), QLatin1String(kFormat)},
                         {QStringLiteral("version"), kVersion},
                         {QStringLiteral("formulas"), formulas}};
  const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
    return QStringLiteral("「%1」に保存できませんでした。").arg(Native(path));
  return std::nullopt;
}

void PutIntensityEntry(QList<IntensityLibraryEntry>& entries, const IntensityLibraryEntry& entry) {
  for (IntensityLibraryEntry& existing : entries) {
    if (existing.name == entry.name) {
      existing = entry;
      return;
    }
  }
  entries.append(entry);
}

void RegisterIntensityFormula(ScreenHost& host, QWidget* parent) {
  const IntensityScreenInputs& s = host.record().intensity;
  if (const auto problem = CheckScreenFormula(s)) {
    host.prompter().error(parent, QString::fromStdString(problem->message));
    if (!problem->focus.empty()) host.focusControl(QString::fromStdString(problem->focus));
    return;
  }
  RegisterIntensityEntry(host.prompter(), parent, EntryFromScreen(s));
}

void RegisterIntensityEntry(Prompter& prompter, QWidget* parent, const IntensityLibraryEntry& entry) {
  auto* window = new RegisterWindow(prompter, entry, parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->open();
}

void RecallIntensityFormula(ScreenHost& host, QWidget* parent,
                            std::function<void(const IntensityLibraryEntry&)> apply) {
  RecallIntensityFormula(host.prompter(), parent, std::move(apply));
}

void RecallIntensityFormula(Prompter& prompter, QWidget* parent,
                            std::function<void(const IntensityLibraryEntry&)> apply) {
  const IntensityLibraryRead library = ReadIntensityLibrary(IntensityLibraryPath());
  if (library.error) {
    prompter.error(parent, *library.error);
    return;
  }
  auto* window = new RecallWindow(prompter, library.entries, std::move(apply), parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->open();
}

}  // namespace mk
