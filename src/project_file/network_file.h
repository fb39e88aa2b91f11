#pragma once
// The network flow table's file (.mkt) and its CSV export and import.
//
// The file is UTF-8 text, LF or CR LF line ends:
//
//   mirukana-network 1                      magic word and format version
//   title=...                               settings, one key=value a line
//   formula=①  a=..  b=..  c=..  d=..  t1=..  velocity=Manning|Kutter
//   groundwater=無し|<percent>  surcharge=無し|<percent>  outlet=<node>
//   [segments]
//   name<TAB>upstream<TAB>...<TAB>depth     the field keys of the columns
//   A-1<TAB>1<TAB>2<TAB>...                 one segment a line
//
// Values are the texts the table shows; a catalogue size, the facility kind
// and the depth are written as their captions ("VP - φ200", "ＶＰ管",
// "水深８割").  A backslash, tab, CR or LF inside a value is written as
// \\, \t, \r, \n.  A file whose version is newer than this program's is
// refused, never guessed at; an unknown key or column is refused too.
//
// The CSV holds the segment rows only, for spreadsheets: CP932, CR LF, a
// header row of the column captions (NetworkCsvHeader), fields quoted with
// "" when they hold a comma, a quote or a line break.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "calc/network.h"

namespace mk {

inline constexpr const char* kNetworkFileSuffix = "mkt";  // without the dot
inline constexpr int kNetworkFileVersion = 1;

// ---------------------------------------------------------------- file

// The file's bytes for a record (always possible: the file is UTF-8).
QByteArray NetworkFileBytes(const NetworkRecord& record);

// Writes through a QSaveFile: a failed save leaves the previous file as it
// was.  Returns the error message (Japanese, for the screens) or nothing.
std::optional<QString> WriteNetworkFile(const QString& path, const NetworkRecord& record);

struct NetworkFileRead {
  NetworkRecord record;  // valid when ok()
  QString error;         // why the bytes are not a table, naming the line
  bool ok() const { return error.isEmpty(); }
};

// The bytes of a file; any bytes give a record or a refusal.
NetworkFileRead ParseNetworkFile(const QByteArray& bytes);

// Reads a file (the refusal also when it cannot be opened).
NetworkFileRead ReadNetworkFile(const QString& path);

// ---------------------------------------------------------------- CSV

// The CSV header captions, in column order.
const std::vector<std::string>& NetworkCsvHeader();

struct NetworkCsvExport {
  QByteArray bytes;  // valid when ok()
  QString error;     // a text CP932 cannot hold: the message names the character
  bool ok() const { return error.isEmpty(); }
};

// The segment rows as CSV bytes.
NetworkCsvExport ExportNetworkCsv(const std::vector<NetworkSegment>& segments);

// Writes the CSV through a QSaveFile; the error message or nothing.
std::optional<QString> WriteNetworkCsv(const QString& path, const std::vector<NetworkSegment>& segments);

struct NetworkCsvImport {
  std::vector<NetworkSegment> segments;  // valid when ok()
  QString error;                         // why not, naming the line and column
  bool ok() const { return error.isEmpty(); }
};

// CSV bytes (as ExportNetworkCsv writes them, or as a spreadsheet saves
// them: CP932, CR LF or LF, header row required) into segment rows.
NetworkCsvImport ImportNetworkCsv(const QByteArray& bytes);

// Reads a CSV file (the refusal also when it cannot be opened).
NetworkCsvImport ReadNetworkCsv(const QString& path);

}  // namespace mk
