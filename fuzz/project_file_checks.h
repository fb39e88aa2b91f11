#pragma once
// The properties every project file must keep, whatever its bytes: shared
// by the fuzz target vor_file_fuzzer and the regression test over
// tests/data/fuzz_regressions.  Each check returns "" when the property
// holds and a short description of what broke otherwise, so the fuzzer can
// abort and the test can report it.
//
// The checks work on bytes in memory (a file system round trip per
// execution would cost more than everything else together); CheckProjectFile
// also opens and saves through the real files and checks that the file
// functions see the same lines as the in-memory split.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "calc/check_run.h"
#include "calc/recompute.h"
#include "model/project_record.h"
#include "project_file/cp932.h"
#include "project_file/vor_file.h"
#include "report/flow_report.h"

namespace mk::fuzzcheck {

// Open + Save rounds after which a project must reproduce itself.
inline constexpr int kOpenSaveRounds = 5;

// The most lines Open reads (19 + 6 + 3 + 35 + 37 + 26 + 7).
inline constexpr std::size_t kMaxLines = 133;

inline std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The file's lines as Open splits them: CR LF, LF and a lone CR end a line,
// a last line without its end counts, at most kMaxLines; each decoded.
inline std::vector<std::string> SplitAndDecode(const QByteArray& bytes) {
  std::vector<std::string> lines;
  QByteArray current;
  bool lineOpen = false;
  bool afterCR = false;
  for (const char c : bytes) {
    if (lines.size() >= kMaxLines) break;
    if (c == '\n' && afterCR) {
      afterCR = false;
      continue;
    }
    afterCR = c == '\r';
    if (c == '\r' || c == '\n') {
      lines.push_back(DecodeCp932(current));
      current.clear();
      lineOpen = false;
    } else {
      current += c;
      lineOpen = true;
    }
  }
  if (lineOpen && lines.size() < kMaxLines) lines.push_back(DecodeCp932(current));
  return lines;
}

// The bytes Save writes for the record, or nothing when a value holds a line
// break or a character the code page lacks (Save then refuses).
inline std::optional<QByteArray> SavedBytes(const ProjectRecord& record) {
  QByteArray bytes;
  for (const std::string& line : ProjectFileLines(record)) {
    if (line.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    const std::optional<QByteArray> encoded = EncodeCp932(line);
    if (!encoded) return std::nullopt;
    bytes += *encoded;
    bytes += "\r\n";
  }
  return bytes;
}

// True when a report line carries a broken number ("nan", "inf").
inline bool HasBrokenNumber(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::string lower = Lower(line);
    if (lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos) return true;
  }
  return false;
}

// "" when equal, else the first differing line of the two lists.
inline std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  const std::size_t n = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const std::string* x = i < a.size() ? &a[i] : nullptr;
    const std::string* y = i < b.size() ? &b[i] : nullptr;
    if (!x || !y || *x != *y) {
      return ": line " + std::to_string(i + 1) + " \"" + (x ? *x : "<none>") + "\" became \"" + (y ? *y : "<none>") +
             "\"";
    }
  }
  return std::string();
}

inline std::string CheckReport(const FlowReport& report, bool inputMayNameNanOrInf, const char* when) {
  if (report.lines.empty()) return std::string("empty report ") + when;
  if (report.verdictLineIndex < -1 || report.verdictLineIndex >= static_cast<int>(report.lines.size())) {
    return std::string("verdict line index out of range ") + when;
  }
  if (!inputMayNameNanOrInf && HasBrokenNumber(report.lines)) return std::string("nan/inf in the report ") + when;
  return std::string();
}

// Opens `bytes` as Open does, recomputes, composes the report, runs the
// check on a copy, and saves and opens again.  Properties:
//  - the lines the writer gives for the record as read re-read to the same
//    lines (the reader and the writer walk the same layout);
//  - the report has a valid verdict index and, when the file itself names no
//    "nan"/"inf", prints no such number;
//  - a saved project re-reads to exactly the lines saved, and repeated Open +
//    Save settles on one file and one report (when the record can be saved
//    at all);
//  - the check run never leaves a broken number in the report.
inline std::string CheckProjectBytes(const QByteArray& bytes) {
  const bool namesNanOrInf = [&] {
    const std::string lower = Lower(bytes.toStdString());
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
  }();

  ProjectRecord record;
  ReadProjectLines(SplitAndDecode(bytes), record);

  // Reader and writer agree on the layout.
  const std::vector<std::string> asRead = ProjectFileLines(record);
  {
    ProjectRecord again;
    ReadProjectLines(asRead, again);
    if (const std::string d = FirstDifference(asRead, ProjectFileLines(again)); !d.empty()) {
      return "writer lines do not re-read to the same lines" + d;
    }
  }

  RecomputeAfterOpen(record);
  const FlowReport report = ComposeFlowReport(record);
  if (std::string e = CheckReport(report, namesNanOrInf, "after Open"); !e.empty()) return e;

  // Save and Open again.  Open recomputes in the order the screens load
  // (the run before the land-use coefficient, the intensity before the
  // flow-time velocity), so a file whose stored results disagree with its
  // inputs changes on its first rounds; the changes must settle within a few
  // rounds, and each saved file must re-read to exactly what was saved.
  {
    ProjectRecord current = record;
    std::vector<std::string> previousReport = report.lines;
    std::vector<std::string> previousLines = ProjectFileLines(current);
    bool settled = false;
    for (int round = 0; round < kOpenSaveRounds && !settled; ++round) {
      const std::optional<QByteArray> saved = SavedBytes(current);
      if (!saved) break;  // Save refuses this record: nothing to compare
      ProjectRecord reopened;
      ReadProjectLines(SplitAndDecode(*saved), reopened);
      if (const std::string d = FirstDifference(previousLines, ProjectFileLines(reopened)); !d.empty()) {
        return "saved file re-reads to other lines" + d;
      }
      RecomputeAfterOpen(reopened);
      const std::vector<std::string> lines = ProjectFileLines(reopened);
      const std::vector<std::string> reportLines = ComposeFlowReport(reopened).lines;
      settled = lines == previousLines && reportLines == previousReport;
      if (round == kOpenSaveRounds - 1 && !settled) {
        return "Open and Save do not settle" + FirstDifference(previousReport, reportLines) +
               FirstDifference(previousLines, lines);
      }
      current = std::move(reopened);
      previousLines = lines;
      previousReport = reportLines;
    }
  }

  // The check run as the facility screen starts it.
  ProjectRecord checked = record;
  CheckRun(checked);
  if (std::string e = CheckReport(ComposeFlowReport(checked), namesNanOrInf, "after the check run"); !e.empty()) {
    return e;
  }
  return std::string();
}

// The same through the real files: ReadProjectFile must see the lines the
// in-memory split sees, WriteProjectFile must write the bytes SavedBytes
// gives (into `scratchPath`), then CheckProjectBytes.
inline std::string CheckProjectFile(const QString& path, const QString& scratchPath) {
  QByteArray bytes;
  {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "cannot open the input";
    bytes = f.readAll();
  }
  ProjectRecord fromFile;
  if (ReadProjectFile(path, fromFile)) return "ReadProjectFile failed on a readable file";
  ProjectRecord fromBytes;
  ReadProjectLines(SplitAndDecode(bytes), fromBytes);
  if (const std::string d = FirstDifference(ProjectFileLines(fromBytes), ProjectFileLines(fromFile)); !d.empty()) {
    return "ReadProjectFile reads other lines than the split" + d;
  }

  RecomputeAfterOpen(fromFile);
  const std::optional<QByteArray> expected = SavedBytes(fromFile);
  const bool written = !WriteProjectFile(scratchPath, fromFile);
  if (written != expected.has_value()) return "WriteProjectFile and SavedBytes disagree on whether Save works";
  if (written) {
    QFile f(scratchPath);
    if (!f.open(QIODevice::ReadOnly)) return "cannot open the saved file";
    if (f.readAll() != *expected) return "WriteProjectFile wrote other bytes than SavedBytes";
  }
  return CheckProjectBytes(bytes);
}

}  // namespace mk::fuzzcheck
