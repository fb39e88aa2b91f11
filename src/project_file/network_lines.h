#pragma once
// The network flow table's file (.mkt) and CSV layouts, without the bytes'
// encoding or the file itself: which value goes on which line and column,
// what a reader refuses and with which message.  Standard C++ only, so that
// the desktop, the headless command and the browser write the same bytes and
// refuse alike; network_file.h puts them on disk (and CP932 on the CSV).
//
// The file is UTF-8 text, LF or CR LF line ends:
//
//   mirukana-network 1                      magic word and format version
//   title=...                               settings, one key=value a line
//   formula=①  a=..  b=..  c=..  d=..  t1=..  velocity=Manning|Kutter
//   groundwater=無し|有り  groundwater_percent=..  (the same for surcharge)
//   outlet=<node>
//   velocity_min=0.8 ... minimum_drop=0.00  the design criteria (version 2)
//   joint=管頂接合|水面接合|管中心接合|管底接合
//   [nodes]                                 version 2: the nodes' levels
//   node<TAB>ground<TAB>fixed_invert<TAB>node_drop
//   1<TAB>12.500<TAB><TAB>                  one node a line
//   [segments]
//   name<TAB>upstream<TAB>...<TAB>depth     the field keys of the columns
//   A-1<TAB>1<TAB>2<TAB>...                 one segment a line
//
// Version 2 adds the criteria, the nodes and the segments' invert and wall
// columns.  A table that has none of them (no node rows, the default
// criteria, no typed invert or wall) is written as version 1, byte for byte
// as before, so that it still opens in a program that knows only version 1.
//
// Values are the texts the table shows; a catalogue size, the facility kind
// and the depth are written as their captions ("VP - φ200", "ＶＰ管",
// "水深８割").  A backslash, tab, CR or LF inside a value is written as
// \\, \t, \r, \n.  A file whose version is newer than this program's is
// refused, never guessed at; an unknown key or column is refused too.
//
// The CSVs, for spreadsheets: CR LF, a header row of captions, fields
// quoted with "" when they hold a comma, a quote or a line break, CP932 on
// disk.  The input CSV holds the segment rows (NetworkCsvHeader; CSV読込
// reads it back); the results CSV the whole computed table, every column as
// the table shows it (NetworkColumns' captions).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/network.h"

namespace mk {

inline constexpr const char* kNetworkFileSuffix = "mkt";  // without the dot
inline constexpr int kNetworkFileVersion = 2;

// ---------------------------------------------------------------- file

// The file's bytes (UTF-8) for a record.
std::string NetworkFileText(const NetworkRecord& record);

struct NetworkLinesRead {
  NetworkRecord record;  // valid when ok()
  std::string error;     // why the bytes are not a table, naming the line (UTF-8)
  bool ok() const { return error.empty(); }
};

// The bytes of a file (a UTF-8 byte-order mark allowed); any bytes give a
// record or a refusal.
NetworkLinesRead ParseNetworkFileText(std::string_view bytes);

// ---------------------------------------------------------------- CSV

// A CSV's cells: its header row and its rows, in UTF-8.
struct NetworkCsvTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};

// The input CSV's header captions, in column order.
const std::vector<std::string>& NetworkCsvHeader();

// The segment rows as the input CSV holds them.
NetworkCsvTable NetworkInputCsvTable(const std::vector<NetworkSegment>& segments);

// The computed table in the record's order, every column as the table
// shows it, NetworkColumns' captions as the header (with "・" for the
// middle dot "·", which CP932 lacks).
NetworkCsvTable NetworkResultsCsvTable(const NetworkRecord& record, const NetworkTable& table);

// The CSV text (UTF-8, CR LF after every record, the header first).
std::string NetworkCsvText(const NetworkCsvTable& table);

// The refusal for `badChar`, a character the CSV's code page cannot hold:
// it names the character and the first row and column holding it
// ("「①」はCSVに書き出せない文字です（2行目の路線番号「①」）。…").
std::string NetworkCsvCharacterRefusal(const NetworkCsvTable& table, const std::string& badChar);

// UTF-8 text to the CSV's bytes; nothing when a character cannot be held,
// and that character (UTF-8) in `badChar`.
using CsvEncoder = std::function<std::optional<std::string>(std::string_view utf8, std::string* badChar)>;

struct NetworkCsvBytes {
  std::string bytes;  // valid when ok()
  std::string error;  // a character the encoder cannot hold, named with its cell
  bool ok() const { return error.empty(); }
};

// The CSV text through `encode` (CP932 for the desktop and the browser).
NetworkCsvBytes EncodeNetworkCsv(const NetworkCsvTable& table, const CsvEncoder& encode);

struct NetworkCsvRows {
  std::vector<NetworkSegment> segments;  // valid when ok()
  std::string error;                     // why not, naming the line and column
  bool ok() const { return error.empty(); }
};

// The input CSV's text, already decoded to UTF-8 (as NetworkCsvText writes
// it, or as a spreadsheet saves it: CR LF or LF, header row required), into
// segment rows.
NetworkCsvRows ParseNetworkCsvText(const std::string& text);

}  // namespace mk
