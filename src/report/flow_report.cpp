#include "report/flow_report.h"

#include "report/report_lines.h"

namespace mk {

FlowReport ComposeFlowReport(const ProjectRecord& record) {
  using report::Fmt;
  report::Lines out;
  out.reserve(160);  // the longest reports have some 110 lines: no regrowth

  // Title.
  out.emplace_back();
  out.emplace_back("             ☆ 流量計算書（下水排水施設（合流式））");
  out.emplace_back();

  report::AppendStormwater(record, out);
  report::AppendSewage(record, out);

  // Combined flow; the sum is the report's own (without the surcharge).
  const double Q11 = record.run.Q11;
  const double Q12 = record.run.Q12;
  out.emplace_back();
  out.emplace_back();
  out.emplace_back("                ◎ 計画下水量");
  out.emplace_back();
  out.push_back("                   Q1=Q11＋Q12=" + Fmt(Q11, "0.0000") + "＋" + Fmt(Q12, "0.0000") + "=" +
                Fmt(Q11 + Q12, "0.0000") + "m3/sec");
  out.emplace_back();
  out.emplace_back();

  const report::VerdictInfo verdict = report::AppendFacilitySection(record, out);

  FlowReport result;
  result.lines = std::move(out);
  result.verdictIsNo = verdict.written && verdict.isNo;
  result.verdictLineIndex = verdict.written ? verdict.lineIndex : -1;
  return result;
}

}  // namespace mk
