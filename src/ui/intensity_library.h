#pragma once
// The user's library of rainfall-intensity formulas: each entry is one of
// the intensity screen's six formulas with its constants, under a name, with
// the source (出典) the user took the constants from.  Nothing is shipped
// in it: every municipality publishes its own constants.
//
// The library is one UTF-8 JSON file, "intensity_formulas.json" in the
// user's configuration folder (QStandardPaths::AppConfigLocation); export
// and import write and read the same format, so a file can be handed to a
// colleague:
//
//   {
//     "format": "mirukana-intensity-formulas",
//     "version": 1,
//     "formulas": [
//       { "name": "…", "source": "…", "formula": 2,
//         "a": "…", "b": "…", "c": "", "d": "" }
//     ]
//   }
//
// "formula" is the number the screen shows (① … ⑥); the constants are the
// texts as typed ("c" and "d" are used by ⑤ and ⑥ only).  Entries keep
// their order; names are unique.

#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "calc/intensity.h"

class QWidget;

namespace mk {

class Prompter;
class ScreenHost;

struct IntensityLibraryEntry {
  QString name;
  QString source;
  IntensityFormula formula = IntensityFormula::One;
  QString a, b, c, d;

  friend bool operator==(const IntensityLibraryEntry&, const IntensityLibraryEntry&) = default;
};

struct IntensityLibraryRead {
  QList<IntensityLibraryEntry> entries;
  std::optional<QString> error;  // the file exists but cannot be read as a library
};

// The library file in the user's configuration folder.
QString IntensityLibraryPath();

// A missing file is an empty library.
IntensityLibraryRead ReadIntensityLibrary(const QString& path);
// Replaces the file only once it is completely written; the message when
// it could not be.
std::optional<QString> WriteIntensityLibrary(const QString& path, const QList<IntensityLibraryEntry>& entries);

// Adds `entry`, or replaces the entry of the same name in its place.
void PutIntensityEntry(QList<IntensityLibraryEntry>& entries, const IntensityLibraryEntry& entry);

// "登録": the formula chosen on the intensity screen and its constants,
// saved under a name with a source typed in a small window.  When no
// formula is chosen or a constant it needs is empty, a message says so
// (focus on that box) and nothing opens.
void RegisterIntensityFormula(ScreenHost& host, QWidget* parent);

// "呼出": the library in a small window; choosing an entry hands it to
// `apply`.  The window also deletes entries and imports and exports files.
void RecallIntensityFormula(ScreenHost& host, QWidget* parent,
                            std::function<void(const IntensityLibraryEntry&)> apply);

// The same two windows for another screen's formula (the network table's
// settings): 登録 of a complete entry the caller has checked, 呼出 handing
// the chosen entry to `apply`.
void RegisterIntensityEntry(Prompter& prompter, QWidget* parent, const IntensityLibraryEntry& entry);
void RecallIntensityFormula(Prompter& prompter, QWidget* parent,
                            std::function<void(const IntensityLibraryEntry&)> apply);

}  // namespace mk
