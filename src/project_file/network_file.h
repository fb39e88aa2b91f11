#pragma once
// The network flow table's file (.mkt) and its CSV export and import, as
// bytes and files: the layout and its refusals are network_lines.h's (the
// same for every front end); here the CSV's CP932, the whole-file save and
// the reading of a file.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "calc/network.h"
#include "project_file/network_lines.h"

namespace mk {

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

struct NetworkCsvExport {
  QByteArray bytes;  // valid when ok()
  QString error;     // a text CP932 cannot hold: the message names the character
  bool ok() const { return error.isEmpty(); }
};

// The segment rows as CSV bytes.
NetworkCsvExport ExportNetworkCsv(const std::vector<NetworkSegment>& segments);

// Writes the CSV through a QSaveFile; the error message or nothing.
std::optional<QString> WriteNetworkCsv(const QString& path, const std::vector<NetworkSegment>& segments);

// The results CSV (the whole computed table, NetworkResultsCsvTable) as
// CP932 bytes, and written through a QSaveFile.
NetworkCsvExport ExportNetworkResultsCsv(const NetworkRecord& record, const NetworkTable& table);
std::optional<QString> WriteNetworkResultsCsv(const QString& path, const NetworkRecord& record,
                                              const NetworkTable& table);

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
