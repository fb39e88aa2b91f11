#pragma once
// Pieces shared by the parts of the report composer (not a public interface).

#include <string>
#include <string_view>
#include <vector>

#include "model/number_text.h"
#include "model/project_record.h"

namespace mk::report {

using Lines = std::vector<std::string>;

// A value through a number pattern ("0.0#", "0.0000", "####" ...).
inline std::string Fmt(double value, std::string_view pattern) { return FormatNumber(value, pattern); }

// Half-width blanks.
inline std::string Blanks(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

// Text of a depth code as the facility headings name it ("満流", "水深９割",
// "水量９０％" ...); empty for a code that is none of the thirteen settings.
std::string DepthLabel(double code);

// The depth code when it is one of the seven circular depth ratios or six
// flow ratios, with the partial-depth factors as the report prints them
// ("0.7853", "3.1415" ...); false for any other code.
bool CircularFactorTexts(double code, std::string& cA, std::string& cP);

// True when two stored numbers are the same setting (depth codes, widths).
bool SameValue(double a, double b);

// Section "○ 計画雨水量" (title not included), the flow-time block inside it.
void AppendStormwater(const ProjectRecord& record, Lines& out);

// Section "○ 計画汚水量" with its heading.
void AppendSewage(const ProjectRecord& record, Lines& out);

// The block that derives the flow time t2 from the velocity of an upstream
// conduit chosen on Form17.
void AppendFlowTimeFacilityBlock(const ProjectRecord& record, Lines& out);

// Section "◎ 排水施設の検討" with Q2, the verdict and the rule line.
struct VerdictInfo {
  bool written = false;
  bool isNo = false;
  int lineIndex = -1;
};
VerdictInfo AppendFacilitySection(const ProjectRecord& record, Lines& out);

}  // namespace mk::report
