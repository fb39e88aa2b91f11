#include "report/page_split.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace mk {
namespace {

const std::string kSewageHeading = "                ○ 計画汚水量";
const std::string kCombinedHeading = "                ◎ 計画下水量";
const std::string kFacilityHeading = "                ◎ 排水施設の検討";

std::string Blanks(int count) { return std::string(static_cast<std::size_t>(count), ' '); }

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

int FindLine(const std::vector<std::string>& lines, const std::string& text, int from = 0) {
  for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i) {
    if (lines[static_cast<std::size_t>(i)] == text) return i;
  }
  return -1;
}

// The sewage block between "○ 計画汚水量" and "◎ 計画下水量" as the printout
// keeps it: which lines of the text file's block are drawn.
struct ShortenedSewage {
  std::size_t blockLines = 0;  // lines the text file writes for this case
  std::vector<std::size_t> kept;
};

std::vector<std::size_t> Range(std::size_t first, std::size_t last) {
  std::vector<std::size_t> v;
  for (std::size_t i = first; i <= last; ++i) v.push_back(i);
  return v;
}

std::vector<std::size_t> Join(std::initializer_list<std::vector<std::size_t>> parts) {
  std::vector<std::size_t> v;
  for (const auto& p : parts) v.insert(v.end(), p.begin(), p.end());
  return v;
}

// The case follows the same choices, in the same order, as the report's
// sewage section.  Returns false when the block is drawn as it stands (typed
// sewage flow, or no case chosen).
bool ShortenedSewageFor(const ProjectRecord& record, ShortenedSewage& out) {
  const MainScreenInputs& m = record.main;
  const SewageFlowInput& f28 = record.sewage;
  if (!m.opt7) return false;
  if (f28.opt1 && m.opt9) {
    // Residential: both formula lines, then the result line.
    out = {9, {0, 1, 8}};
  } else if (f28.opt1 && m.opt10) {
    // Residential with W: formulas, legends of Q12, P and q, the result.
    out = {12, Join({Range(0, 4), {11}})};
  } else if (f28.opt2 && m.opt9) {
    // Non-residential (1): formulas, five legends, (empty), area, (empty), results.
    out = {18, Join({Range(0, 7), Range(14, 17)})};
  } else if (f28.opt2 && m.opt10) {
    // Non-residential (1) with W: formulas, five legends, area, (empty), results.
    out = {19, Join({Range(0, 6), Range(15, 18)})};
  } else if (f28.opt3 && m.opt9) {
    // Non-residential (2): formula, q legend, area, (empty), result.
    out = {9, {0, 1, 6, 7, 8}};
  } else if (f28.opt3 && m.opt10) {
    // Non-residential (2) with W: formula, q and A legends, area, (empty), result.
    out = {10, Join({Range(0, 2), Range(7, 9)})};
  } else {
    return false;
  }
  return true;
}

// The main facility's Kutter substitution lines take the indentation of the
// flow-time block on the printout.
void ReindentMainKutter(PrintLines& facility) {
  const std::string numerator = Blanks(28) + "　 23＋(1/";
  const std::array<std::string, 3> following = {Blanks(16) + "流速V=", Blanks(23) + "1＋{23＋(0.00155/",
                                                Blanks(21) + "=("};
  for (std::size_t i = 0; i < facility.size(); ++i) {
    std::string& text = facility[i].text;
    if (!StartsWith(text, numerator)) continue;
    text = Blanks(28) + "　   23＋(1/" + text.substr(numerator.size());
    for (std::size_t k = 0; k < following.size() && i + 1 + k < facility.size(); ++k) {
      std::string& next = facility[i + 1 + k].text;
      if (StartsWith(next, following[k])) next = Blanks(2) + next;
    }
    return;
  }
}

void AddTopMargin(PrintLines& lines) {
  lines.insert(lines.begin(), static_cast<std::size_t>(kPageTopMarginLines), PrintLine{});
}

}  // namespace

PrintSections SplitReportSections(const FlowReport& report, const ProjectRecord& record) {
  const std::vector<std::string>& lines = report.lines;
  const int count = static_cast<int>(lines.size());

  PrintLines all;
  all.reserve(lines.size());
  for (int i = 0; i < count; ++i) {
    all.push_back({lines[static_cast<std::size_t>(i)], report.verdictIsNo && i == report.verdictLineIndex});
  }

  int facilityStart = FindLine(lines, kFacilityHeading);
  if (facilityStart < 0) facilityStart = count;
  int sewageStart = FindLine(lines, kSewageHeading);
  if (sewageStart < 0 || sewageStart > facilityStart) sewageStart = facilityStart;

  auto slice = [&all](int from, int to) {
    return PrintLines(all.begin() + from, all.begin() + std::max(from, to));
  };

  PrintSections sections;
  sections.sewageOnSecondPage = record.intensity.Option8;
  sections.stormwater = slice(0, sewageStart);
  sections.facility = slice(facilityStart, count);

  // The sewage part, with its case block shortened when the block is the
  // one the text file writes for that case.
  const int combinedStart = FindLine(lines, kCombinedHeading, sewageStart);
  const int blockStart = sewageStart + 2;
  const int blockEnd = combinedStart - 2;  // two empty lines before "◎ 計画下水量"
  ShortenedSewage shortened;
  if (sewageStart < facilityStart && combinedStart >= 0 && combinedStart < facilityStart && blockEnd >= blockStart &&
      ShortenedSewageFor(record, shortened) &&
      static_cast<std::size_t>(blockEnd - blockStart) == shortened.blockLines) {
    sections.sewage = slice(sewageStart, blockStart);
    for (std::size_t k : shortened.kept) sections.sewage.push_back(all[static_cast<std::size_t>(blockStart) + k]);
    const PrintLines rest = slice(blockEnd, facilityStart);
    sections.sewage.insert(sections.sewage.end(), rest.begin(), rest.end());
  } else {
    sections.sewage = slice(sewageStart, facilityStart);
  }

  ReindentMainKutter(sections.facility);

  AddTopMargin(sections.stormwater);
  AddTopMargin(sections.sewageOnSecondPage ? sections.sewage : sections.facility);

  sections.verdictIsNo = std::any_of(sections.facility.begin(), sections.facility.end(),
                                     [](const PrintLine& line) { return line.magenta; });
  return sections;
}

PrintPages PagesFromSections(const PrintSections& sections) {
  PrintPages pages;
  pages.page1 = sections.stormwater;
  PrintLines& sewageTarget = sections.sewageOnSecondPage ? pages.page2 : pages.page1;
  sewageTarget.insert(sewageTarget.end(), sections.sewage.begin(), sections.sewage.end());
  pages.page2.insert(pages.page2.end(), sections.facility.begin(), sections.facility.end());
  pages.verdictIsNo = sections.verdictIsNo;
  return pages;
}

PrintPages SplitReportPages(const FlowReport& report, const ProjectRecord& record) {
  return PagesFromSections(SplitReportSections(report, record));
}

int CharacterColumns(char32_t c) {
  if (c < 0x80) return 1;
  if (c >= 0xFF61 && c <= 0xFF9F) return 1;  // half-width katakana and punctuation
  return 2;
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
      cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      extra = 1;
      cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
      extra = 2;
      cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
      extra = 3;
      cp = b0 & 0x07;
    } else {
      out.push_back(U'\uFFFD');
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) {  // sequence cut short
      out.push_back(U'\uFFFD');
      break;
    }
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((b & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    if (!valid) {
      out.push_back(U'\uFFFD');
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

int LineColumns(std::string_view text) {
  int columns = 0;
  for (char32_t c : DecodeUtf8(text)) columns += CharacterColumns(c);
  return columns;
}

}  // namespace mk
