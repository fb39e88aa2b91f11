#pragma once
// The report as it is drawn on the two print-image pages and on paper.
//
// The printed report is the FlowReport with a few differences from the text
// file: every page starts with a top margin of five empty lines, the sewage
// section leaves out the lines that only restate single inputs, the main
// facility's Kutter lines take the indentation of the flow-time block, and
// the NO verdict line is drawn in light magenta.  Which lines go on which
// page is decided here, without any drawing; the screen and printer code
// only draws the lines it is given.

#include <string>
#include <string_view>
#include <vector>

#include "model/project_record.h"
#include "report/flow_report.h"

namespace mk {

// One drawn line: its text and whether it is drawn in light magenta
// (RGB 255, 0, 255) instead of black.
struct PrintLine {
  std::string text;
  bool magenta = false;

  friend bool operator==(const PrintLine&, const PrintLine&) = default;
};

using PrintLines = std::vector<PrintLine>;

// The report cut into the three parts the pages are made of, each already
// carrying the top margin when it begins a page:
//   stormwater  margin, title and "○ 計画雨水量";
//   sewage      "○ 計画汚水量" shortened and "◎ 計画下水量";
//   facility    "◎ 排水施設の検討" and the verdict.
// sewageOnSecondPage is Form12 Option8: the stormwater section is long
// (it holds the flow-time facility block), so the sewage part moves to
// page 2 and begins it.
struct PrintSections {
  PrintLines stormwater;
  PrintLines sewage;
  PrintLines facility;
  bool sewageOnSecondPage = false;
  bool verdictIsNo = false;  // the facility part holds a magenta NO line
};

struct PrintPages {
  PrintLines page1;
  PrintLines page2;
  bool verdictIsNo = false;  // page 2 holds a magenta NO line (one beep per drawing)
};

// Number of empty lines at the top of each page.
inline constexpr int kPageTopMarginLines = 5;

// Cuts the report into its three drawn parts.  Reads from the record only
// the choices that shape the printout: Form12 Option8, the main screen's
// sewage options (opt7/opt8, opt9/opt10) and the sewage screen's class
// (opt1/opt2/opt3).
PrintSections SplitReportSections(const FlowReport& report, const ProjectRecord& record);

// The two pages: page 1 is the stormwater part, followed by the sewage part
// unless it begins page 2; page 2 is the rest.  The print image, the
// printer and the PDF output all take their pages from here.
PrintPages SplitReportPages(const FlowReport& report, const ProjectRecord& record);
PrintPages PagesFromSections(const PrintSections& sections);

// Columns a character takes in the fixed-pitch report: 1 for the one-byte
// characters of the Japanese code page (ASCII and half-width katakana
// U+FF61..U+FF9F), 2 for every other character.
int CharacterColumns(char32_t c);

// The UTF-8 text decoded into code points (an invalid byte becomes U+FFFD).
std::u32string DecodeUtf8(std::string_view text);

// Columns of a whole line (the byte count of the line in the Japanese code page).
int LineColumns(std::string_view text);

}  // namespace mk
