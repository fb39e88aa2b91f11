// Fuzz target: any bytes as a network flow table file and as a CSV import.
//
// Properties, each checked on every input:
//  - the file reader and the CSV import give a table or a refusal with a
//    message; never a crash, a hang or a sanitizer report;
//  - a table read is computed (and sized) to a refusal with a message or to
//    rows whose every number is finite and whose computed cells hold no
//    "nan"/"inf";
//  - what was read is written and read back unchanged (file and CSV; a CSV
//    export may refuse a character CP932 cannot hold, with a message, and
//    stores the JIS-mapping forms of "〜" and the like as CP932's own).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "project_file/cp932.h"
#include "project_file/network_file.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

void CheckComputation(const mk::NetworkRecord& record) {
  const mk::NetworkComputation c = mk::ComputeNetwork(record);
  if (!c.ok()) {
    if (c.refusal->message.empty()) Broken("refusal without a message");
    return;
  }
  if (c.table.rows.size() != record.segments.size() || c.table.order.size() != record.segments.size())
    Broken("a row missing from the table");
  for (const mk::NetworkRow& row : c.table.rows) {
    for (double v : {row.sumArea, row.sumCA, row.C, row.t, row.t2, row.I, row.Q11, row.Q12, row.Q1,
                     row.V, row.Q2, row.margin, row.levels.h, row.levels.hRatio, row.levels.velocity,
                     row.levels.wall}) {
      if (!std::isfinite(v)) Broken("a computed number that is not finite");
    }
    const mk::NetworkSegmentLevels& l = row.levels;
    for (const std::optional<double>& v : {l.groundUp, l.groundDown, l.invertUp, l.invertDown, l.crownUp,
                                           l.crownDown, l.waterUp, l.waterDown, l.coverUp, l.coverDown, l.drop}) {
      if (v && !std::isfinite(*v)) Broken("a level that is not finite");
    }
    // The computed cells (an input cell shows the text as typed, which may
    // well hold "nan").
    const std::vector<std::string> texts = mk::NetworkRowTexts(record, row);
    for (std::size_t k = 0; k < texts.size(); ++k) {
      if (mk::NetworkColumns()[k].field) continue;
      if (texts[k].find("nan") != std::string::npos || texts[k].find("inf") != std::string::npos)
        Broken("nan or inf in a computed cell");
    }
  }
  const mk::NetworkSizing sizing = mk::ProposeNetworkSizes(record);
  if (sizing.refusal ? sizing.refusal->message.empty() : sizing.proposals.size() != record.segments.size())
    Broken("sizing without a message or a proposal per segment");
}

// A text as CP932 holds it: the JIS-mapping forms an input method may type
// ("〜" U+301C and the like) are stored as the code page's own characters.
std::string AsCp932Holds(const std::string& text) {
  const auto bytes = mk::EncodeCp932(text);
  return bytes ? mk::DecodeCp932(*bytes) : text;
}

void CheckCsvRoundTrip(const std::vector<mk::NetworkSegment>& segments) {
  const mk::NetworkCsvExport csv = mk::ExportNetworkCsv(segments);
  if (!csv.ok()) return;
  const mk::NetworkCsvImport back = mk::ImportNetworkCsv(csv.bytes);
  std::vector<mk::NetworkSegment> expected = segments;
  for (mk::NetworkSegment& s : expected) {
    for (std::string* text : {&s.name, &s.upstream, &s.downstream, &s.length, &s.area, &s.c, &s.sewage,
                              &s.facilityName, &s.D, &s.B, &s.H, &s.slope, &s.roughness, &s.invert, &s.wall})
      *text = AsCp932Holds(*text);
  }
  if (!back.ok() || back.segments != expected) Broken("CSV export does not import back unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  const mk::NetworkFileRead file = mk::ParseNetworkFile(bytes);
  if (!file.ok()) {
    if (file.error.isEmpty()) Broken("file refusal without a message");
  } else {
    const mk::NetworkFileRead again = mk::ParseNetworkFile(mk::NetworkFileBytes(file.record));
    if (!again.ok() || !(again.record == file.record)) Broken("file does not read back unchanged");
    CheckComputation(file.record);
    CheckCsvRoundTrip(file.record.segments);
  }

  const mk::NetworkCsvImport csv = mk::ImportNetworkCsv(bytes);
  if (!csv.ok()) {
    if (csv.error.isEmpty()) Broken("CSV refusal without a message");
  } else {
    CheckCsvRoundTrip(csv.segments);
    // The rows under settings that compute: ① with the usual constants.
    mk::NetworkRecord record;
    record.settings.a = "5000";
    record.settings.b = "40";
    record.settings.t1 = "7";
    record.segments = csv.segments;
    CheckComputation(record);
  }
  return 0;
}
