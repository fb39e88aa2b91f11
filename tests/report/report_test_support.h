#pragma once
// Helpers for the report composer tests: expected reports from the example
// folder and a few record builders.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calc/hydraulics.h"
#include "model/project_record.h"
#include "report/flow_report.h"

namespace mk::test {

// The lines of tests/data/examples/<name>.report.txt (UTF-8, LF).
inline std::vector<std::string> ExpectedReport(const std::string& name) {
  std::ifstream in(std::string(MK_EXAMPLES_DIR) + "/" + name + ".report.txt", std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// Compares two reports line by line and names the first lines that differ.
inline void ExpectSameLines(const std::vector<std::string>& expected, const std::vector<std::string>& actual,
                            const std::string& what) {
  const std::size_t common = std::min(expected.size(), actual.size());
  int shown = 0;
  for (std::size_t i = 0; i < common && shown < 5; ++i) {
    if (expected[i] != actual[i]) {
      ADD_FAILURE() << what << " line " << (i + 1) << "\n expected: [" << expected[i] << "]\n   actual: [" << actual[i]
                    << "]";
      ++shown;
    }
  }
  EXPECT_EQ(expected.size(), actual.size()) << what << ": number of lines";
}

// Index of the first line equal to `text`, -1 when none.
inline int FindLine(const FlowReport& report, const std::string& text) {
  const auto it = std::find(report.lines.begin(), report.lines.end(), text);
  return it == report.lines.end() ? -1 : static_cast<int>(it - report.lines.begin());
}

// Index of the first line that starts with `prefix`, -1 when none.
inline int FindLineStarting(const FlowReport& report, const std::string& prefix) {
  for (std::size_t i = 0; i < report.lines.size(); ++i) {
    if (report.lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
  }
  return -1;
}

inline bool HasLine(const FlowReport& report, const std::string& text) { return FindLine(report, text) >= 0; }

// Stores R, V and the Kutter intermediates of a section as the calculation
// would, so that hand-built records print consistent numbers.
inline CapacityResult CapacityOf(const SectionGeometry& g, double x, double n, bool manning) {
  Outcome<CapacityResult> c = ComputeCapacity(g, x, n, manning ? VelocityFormula::Manning : VelocityFormula::Kutter);
  EXPECT_TRUE(c.ok());
  return c.ok() ? *c : CapacityResult{};
}

// A record with a typed C, A and I, typed sewage flow without groundwater,
// no surcharge and a VP φ100 pipe at full depth (Manning), with its results.
inline ProjectRecord SimpleRecord() {
  ProjectRecord r;
  r.main.txt_c = "0.5";
  r.main.txt_a = "10000";
  r.main.txt_i = "72";
  r.main.opt7 = false;
  r.main.opt8 = true;
  r.main.txt3 = "0.0100";
  r.main.lst_s = 0;
  r.derived.main.x = 10.0;
  r.derived.main.n = 0.010;
  r.derived.mainSection.name = "VP - φ100";
  r.derived.mainSection.D = 0.1008;
  r.derived.mainSection.depthCode = 10.0;
  r.derived.mainSection.geometry = {0.7853 * 0.1008 * 0.1008, 3.1415 * 0.1008};
  r.derived.mainCapacity = CapacityOf(r.derived.mainSection.geometry, 10.0, 0.010, true);
  r.run.exists = true;
  r.run.Q11 = 0.1;
  r.run.Q12 = 0.01;
  r.run.Q1 = 0.11;
  r.run.V = r.derived.mainCapacity.V;
  r.run.Q2 = r.derived.mainCapacity.Q2;
  return r;
}

}  // namespace mk::test
