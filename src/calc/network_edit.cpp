#include "calc/network_edit.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "calc/catalogue.h"
#include "calc/network_levels.h"

namespace mk {

namespace nf = network_field;

namespace {

constexpr std::string_view kFullBlank = "\xE3\x80\x80";  // U+3000
constexpr std::string_view kPhi = "φ";
constexpr std::string_view kCapitalPhi = "Φ";
constexpr std::string_view kTimes = "×";

const char* const kKindCaptions[] = {"ＶＰ管", "ＶＵ管", "強化プラスチック複合管", "ヒューム管", "その他円形管", "矩形管"};
const char* const kCircularDefaultName = "その他円形管";
const char* const kRectangularDefaultName = "矩形管";

int ColumnCount() { return static_cast<int>(NetworkColumns().size()); }

const char* FieldOf(int column) {
  return column >= 0 && column < ColumnCount() ? NetworkColumns()[static_cast<std::size_t>(column)].field : nullptr;
}

bool Is(const char* field, const char* key) { return field && std::string_view(field) == key; }

std::string* TextField(NetworkSegment& s, const char* field) {
  return field ? NetworkSegmentText(s, field) : nullptr;
}

bool IsBlankAt(std::string_view text, std::size_t i, std::size_t* width) {
  if (text[i] == ' ' || text[i] == '\t') {
    *width = 1;
    return true;
  }
  if (text.substr(i, kFullBlank.size()) == kFullBlank) {
    *width = kFullBlank.size();
    return true;
  }
  return false;
}

// The text without blanks (half- or full-width) at either end.
std::string Trim(std::string_view text) {
  std::size_t width = 0;
  std::size_t begin = 0;
  while (begin < text.size() && IsBlankAt(text, begin, &width)) begin += width;
  std::size_t end = text.size();
  for (;;) {
    if (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
      --end;
    } else if (end >= begin + kFullBlank.size() && text.substr(end - kFullBlank.size(), kFullBlank.size()) == kFullBlank) {
      end -= kFullBlank.size();
    } else {
      break;
    }
  }
  return std::string(text.substr(begin, end - begin));
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// "路線番号「A-2」" or "3行目", as the table's computation names a segment.
std::string RowLabel(const NetworkRecord& record, int row) {
  if (row >= 0 && row < static_cast<int>(record.segments.size()) &&
      !record.segments[static_cast<std::size_t>(row)].name.empty())
    return "路線番号「" + record.segments[static_cast<std::size_t>(row)].name + "」";
  return std::to_string(row + 1) + "行目";
}

std::string Caption(int column) {
  return column >= 0 && column < ColumnCount() ? NetworkColumns()[static_cast<std::size_t>(column)].caption
                                               : std::to_string(column + 1) + "列目";
}

NetworkEditRefusal Refusal(const NetworkRecord& record, int row, int column, const std::string& text,
                           const std::string& tail) {
  return NetworkEditRefusal{row, column, RowLabel(record, row) + "の" + Caption(column) + "「" + text + "」" + tail};
}

// ---------------------------------------------------------------- facility

struct Facility {
  NetworkFacilityKind kind = NetworkFacilityKind::VP;
  int sizeIndex = 0;
  std::string name, D, B, H;
};

Facility FacilityOf(const NetworkSegment& s) { return {s.kind, s.sizeIndex, s.facilityName, s.D, s.B, s.H}; }

// The facility editor's rule: a new kind brings its material's n and, when
// the depth list changes, the new list's default depth; only the parts of
// the kind are set, the others are kept for a later change back.
void ApplyFacility(NetworkSegment& s, const Facility& f) {
  if (s.kind != f.kind) {
    if (NetworkDepthList(s.kind) != NetworkDepthList(f.kind)) s.depthIndex = NetworkDefaultDepthIndex(f.kind);
    s.roughness = NetworkDefaultRoughness(f.kind);
    s.kind = f.kind;
  }
  if (IsCatalogueKind(f.kind)) {
    s.sizeIndex = f.sizeIndex;
  } else {
    s.facilityName = f.name;
  }
  if (f.kind == NetworkFacilityKind::OtherCircular) s.D = f.D;
  if (f.kind == NetworkFacilityKind::Rectangular) {
    s.B = f.B;
    s.H = f.H;
  }
}

Facility DefaultFacility() { return FacilityOf(NewNetworkSegment()); }

std::string FacilityText(const NetworkSegment& s) {
  if (const auto material = MaterialFromKind(static_cast<int>(s.kind))) {
    const auto size = LookupPipe(*material, s.sizeIndex);
    return size ? size->storedName : std::string();
  }
  if (s.kind == NetworkFacilityKind::OtherCircular)
    return (s.facilityName.empty() ? std::string(kCircularDefaultName) : s.facilityName) + " φ" + s.D;
  return (s.facilityName.empty() ? std::string(kRectangularDefaultName) : s.facilityName) + " " + s.B + "×" + s.H;
}

// Blanks next to "×" and after "φ" dropped ("1.0 × 0.8", "φ 0.5").
std::string TightenDimensions(const std::string& text) {
  std::string out;
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (IsBlankAt(text, i, &width)) {
      std::size_t j = i;
      while (j < text.size() && IsBlankAt(text, j, &width)) j += width;
      if (StartsWith(std::string_view(text).substr(j), kTimes) || out.ends_with(kTimes) || out.ends_with(kPhi) ||
          out.ends_with(kCapitalPhi)) {
        i = j;
        continue;
      }
      out.append(text, i, j - i);
      i = j;
      continue;
    }
    out += text[i++];
  }
  return out;
}

// The name part of a catalogue material's stored names ("VP -" of "VP - φ65").
std::string CatalogueNamePart(PipeMaterial material) {
  const std::string& stored = PipeSizes(material).front().storedName;
  const std::size_t blank = stored.rfind(' ');
  return blank == std::string::npos ? std::string() : stored.substr(0, blank);
}

// A facility from the texts the cell shows; the refusal's tail otherwise.
std::optional<std::string> ParseFacility(const std::string& raw, Facility& f) {
  const std::string text = TightenDimensions(Trim(raw));
  if (text.empty()) {
    f = DefaultFacility();
    return std::nullopt;
  }
  // A catalogue size as it is stored ("ﾋｭｰﾑ管 φ300"), listed ("ヒューム管－φ３００")
  // or named by its material's caption ("ヒューム管 φ300").
  const std::string wide = NormalizeNumberInput(text);
  for (int kind = 0; kind < 4; ++kind) {
    const auto material = MaterialFromKind(kind);
    const auto& sizes = PipeSizes(*material);
    for (std::size_t k = 0; k < sizes.size(); ++k) {
      const std::string& stored = sizes[k].storedName;
      const std::size_t phi = stored.rfind(kPhi);
      const std::string byCaption =
          phi == std::string::npos ? std::string() : MaterialCaption(*material) + " " + stored.substr(phi);
      if (text == stored || text == sizes[k].label || wide == byCaption) {
        f = Facility{static_cast<NetworkFacilityKind>(kind), static_cast<int>(k), {}, {}, {}, {}};
        return std::nullopt;
      }
    }
  }
  // "名前 φD" or "名前 B×H", split at the last blank.
  std::size_t split = std::string::npos, width = 0, splitWidth = 0;
  for (std::size_t i = 0; i < text.size(); i += std::max<std::size_t>(width, 1)) {
    width = 1;
    if (IsBlankAt(text, i, &width)) {
      split = i;
      splitWidth = width;
    }
  }
  const std::string name = split == std::string::npos ? std::string() : Trim(text.substr(0, split));
  const std::string tail = NormalizeNumberInput(split == std::string::npos ? text : text.substr(split + splitWidth));
  // A catalogue pipe's name with a nominal size (whole millimetres) the
  // list does not have; an other circular pipe's D is in metres.
  const bool wholeNumber = StartsWith(tail, kPhi) && tail.size() > kPhi.size() &&
                           tail.find_first_not_of("0123456789", kPhi.size()) == std::string::npos;
  for (int kind = 0; kind < 4 && wholeNumber; ++kind) {
    const PipeMaterial material = *MaterialFromKind(kind);
    if (name == CatalogueNamePart(material) || name == MaterialCaption(material))
      return "は" + std::string(kKindCaptions[kind]) + "の管径の一覧にありません。";
  }
  for (std::string_view phi : {kPhi, kCapitalPhi}) {
    if (StartsWith(tail, phi)) {
      f = Facility{NetworkFacilityKind::OtherCircular, 0, name == kCircularDefaultName ? std::string() : name,
                   Trim(tail.substr(phi.size())), {}, {}};
      return std::nullopt;
    }
  }
  std::size_t times = tail.find(kTimes), timesWidth = kTimes.size();
  if (times == std::string::npos) {
    times = tail.find_first_of("xX");
    timesWidth = 1;
  }
  if (times != std::string::npos) {
    f = Facility{NetworkFacilityKind::Rectangular, 0, name == kRectangularDefaultName ? std::string() : name,
                 {}, Trim(tail.substr(0, times)), Trim(tail.substr(times + timesWidth))};
    return std::nullopt;
  }
  return "は読めません。「VP - φ200」「名前 φ0.500」「名前 1.000×0.800」の形で入力してください。";
}

// ---------------------------------------------------------------- depth

std::string DepthText(const NetworkSegment& s) {
  const auto& list = DepthChoiceList(NetworkDepthList(s.kind));
  if (s.depthIndex < 0 || s.depthIndex >= static_cast<int>(list.size())) return "";
  return list[static_cast<std::size_t>(s.depthIndex)].text;
}

// The entry of the segment's depth list that reads as `text` (half- and
// full-width digits alike); -1 when none.
int DepthIndexOf(const NetworkSegment& s, const std::string& text) {
  const std::string wanted = NormalizeNumberInput(Trim(text));
  const auto& list = DepthChoiceList(NetworkDepthList(s.kind));
  for (std::size_t k = 0; k < list.size(); ++k)
    if (list[k].member && NormalizeNumberInput(list[k].text) == wanted) return static_cast<int>(k);
  return -1;
}

// ---------------------------------------------------------------- TSV

void PutTsvCell(std::string& out, const std::string& cell) {
  if (cell.find_first_of("\t\r\n\"") == std::string::npos) {
    out += cell;
    return;
  }
  out += '"';
  for (char ch : cell) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

bool InTable(const NetworkRecord& record, int row) {
  return row >= 0 && row < static_cast<int>(record.segments.size());
}

}  // namespace

// ---------------------------------------------------------------- cells

std::string NormalizeNumberInput(std::string text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    if (byte(i) == 0xEF && i + 2 < text.size() && byte(i + 1) == 0xBC) {
      const unsigned char third = byte(i + 2);
      if (third >= 0x90 && third <= 0x99) {  // ０-９
        out += static_cast<char>('0' + (third - 0x90));
        i += 2;
        continue;
      }
      if (third == 0x8E || third == 0x8D || third == 0x8B) {  // ． － ＋
        out += third == 0x8E ? '.' : third == 0x8D ? '-' : '+';
        i += 2;
        continue;
      }
    }
    if (byte(i) == 0xE2 && i + 2 < text.size() && byte(i + 1) == 0x88 && byte(i + 2) == 0x92) {  // −
      out += '-';
      i += 2;
      continue;
    }
    if (byte(i) == 0xE3 && i + 2 < text.size() && byte(i + 1) == 0x80 && byte(i + 2) == 0x80) {  // full-width blank
      out += ' ';
      i += 2;
      continue;
    }
    out += text[i];
  }
  return out;
}

bool IsInputColumn(int column) { return FieldOf(column) != nullptr; }

bool IsNumberColumn(int column) {
  const char* field = FieldOf(column);
  for (const char* key : {nf::kLength, nf::kArea, nf::kRunoff, nf::kSewage, nf::kSlope, nf::kRoughness, nf::kInvert,
                          nf::kWall})
    if (Is(field, key)) return true;
  return false;
}

std::string NetworkInputCellText(const NetworkSegment& segment, int column) {
  const char* field = FieldOf(column);
  if (Is(field, nf::kKind)) return FacilityText(segment);
  if (Is(field, nf::kDepth)) return DepthText(segment);
  if (std::string* text = TextField(const_cast<NetworkSegment&>(segment), field)) return *text;
  return "";
}

std::optional<NetworkEditRefusal> SetCellText(NetworkRecord& record, int row, int column, const std::string& text) {
  if (!InTable(record, row))
    return NetworkEditRefusal{row, column, std::to_string(row + 1) + "行目の区間はありません。"};
  const char* field = FieldOf(column);
  if (!field) return Refusal(record, row, column, text, "は計算される値のため、入力できません。");
  if (text.find_first_of("\t\r\n") != std::string::npos)
    return NetworkEditRefusal{row, column, RowLabel(record, row) + "の" + Caption(column) + "には改行やタブを入力できません。"};
  NetworkSegment& s = record.segments[static_cast<std::size_t>(row)];
  if (Is(field, nf::kKind)) {
    Facility f;
    if (auto tail = ParseFacility(text, f)) return Refusal(record, row, column, text, *tail);
    ApplyFacility(s, f);
    return std::nullopt;
  }
  if (Is(field, nf::kDepth)) {
    const int index = Trim(text).empty() ? NetworkDefaultDepthIndex(s.kind) : DepthIndexOf(s, text);
    if (index < 0)
      return Refusal(record, row, column, text,
                     "は" + std::string(kKindCaptions[static_cast<int>(s.kind)]) + "の水深の一覧にありません。");
    s.depthIndex = index;
    return std::nullopt;
  }
  std::string* target = TextField(s, field);
  if (!target) return Refusal(record, row, column, text, "は入力できません。");
  *target = IsNumberColumn(column) ? NormalizeNumberInput(text) : text;
  return std::nullopt;
}

// ---------------------------------------------------------------- blocks

std::string* NetworkNodeLevel(NetworkNode& node, const std::string& field) {
  if (field == network_field::kGround) return &node.ground;
  if (field == network_field::kFixedInvert) return &node.invert;
  if (field == network_field::kNodeDrop) return &node.minimumDrop;
  return nullptr;
}

bool SetNetworkNodeLevel(NetworkRecord& record, int index, const std::string& name, const std::string& field,
                         const std::string& text, bool dropEmpty) {
  NetworkNode probe;
  if (!NetworkNodeLevel(probe, field)) return false;
  if (index < 0 || index >= static_cast<int>(record.nodes.size())) {
    if (text.empty() || name.empty()) return true;
    const std::vector<std::string> names = NetworkNodeNames(record);
    const auto rank = [&](const std::string& n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
    const auto mine = rank(name);
    const auto at = std::find_if(record.nodes.begin(), record.nodes.end(),
                                 [&](const NetworkNode& n) { return rank(n.name) > mine; });
    const auto made = record.nodes.insert(at, NetworkNode{name, "", "", ""});
    index = static_cast<int>(made - record.nodes.begin());
  }
  NetworkNode& node = record.nodes[static_cast<std::size_t>(index)];
  *NetworkNodeLevel(node, field) = text;
  if (dropEmpty && node.ground.empty() && node.invert.empty() && node.minimumDrop.empty())
    record.nodes.erase(record.nodes.begin() + index);
  return true;
}

std::vector<std::vector<std::string>> ParseTsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string cell;
  const std::size_t n = text.size();
  std::size_t i = 0;
  bool open = false;  // a row has begun
  auto endCell = [&] {
    row.push_back(std::move(cell));
    cell.clear();
  };
  while (i < n) {
    if (text[i] == '"' && cell.empty()) {
      // A quoted cell: its closing quote stands before a tab, a line end or the end.
      std::string quoted;
      std::size_t j = i + 1;
      bool closed = false;
      while (j < n) {
        if (text[j] == '"') {
          if (j + 1 < n && text[j + 1] == '"') {
            quoted += '"';
            j += 2;
            continue;
          }
          if (j + 1 == n || text[j + 1] == '\t' || text[j + 1] == '\r' || text[j + 1] == '\n') {
            closed = true;
            ++j;
          }
          break;
        }
        quoted += text[j++];
      }
      if (closed) {
        cell = std::move(quoted);
        i = j;
        open = true;
        if (i == n) break;
        continue;
      }
      // Not a quoted cell after all: the quote is text.
    }
    const char ch = text[i];
    if (ch == '\t') {
      endCell();
      open = true;
      ++i;
    } else if (ch == '\r' || ch == '\n') {
      i += (ch == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
      endCell();
      rows.push_back(std::move(row));
      row.clear();
      open = false;
    } else {
      cell += ch;
      open = true;
      ++i;
    }
  }
  if (open) {
    endCell();
    rows.push_back(std::move(row));
  }
  return rows;
}

NetworkPasteResult PasteBlock(NetworkRecord& record, int row, int column, const std::string& tsv) {
  NetworkPasteResult result;
  const auto block = ParseTsv(tsv);
  row = std::clamp(row, 0, static_cast<int>(record.segments.size()));
  column = std::clamp(column, 0, ColumnCount() - 1);
  for (const auto& cells : block) result.columns = std::max(result.columns, static_cast<int>(cells.size()));
  result.rows = static_cast<int>(block.size());
  if (result.rows == 0 || result.columns == 0) return result;

  NetworkRecord edited = record;
  for (int r = 0; r < result.rows; ++r) {
    const int target = row + r;
    if (target >= static_cast<int>(edited.segments.size())) {
      edited.segments.push_back(NewNetworkSegment());
      ++result.addedRows;
    }
    const auto& cells = block[static_cast<std::size_t>(r)];
    for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
      if (!IsInputColumn(column + c)) continue;
      if (auto refusal = SetCellText(edited, target, column + c, cells[static_cast<std::size_t>(c)])) {
        result.refusal = std::move(refusal);
        result.addedRows = 0;
        return result;
      }
    }
  }
  record = std::move(edited);
  result.range = NetworkCellRange{row, column, row + result.rows - 1,
                                  std::min(column + result.columns, ColumnCount()) - 1};
  return result;
}

std::string CopyBlock(const NetworkRecord& record, const NetworkCellRange& range, const NetworkCellTextGetter& computed) {
  const int top = std::max(range.top, 0);
  const int bottom = std::min(range.bottom, static_cast<int>(record.segments.size()) - 1);
  const int left = std::max(range.left, 0);
  const int right = computed ? range.right : std::min(range.right, ColumnCount() - 1);
  std::string out;
  if (top > bottom || left > right) return out;

  // The computed texts of the table, when the caller has none to give.
  std::vector<std::vector<std::string>> texts;
  bool anyComputed = false;
  for (int c = left; c <= right; ++c) anyComputed = anyComputed || !IsInputColumn(c);
  if (!computed && anyComputed) {
    const NetworkComputation computation = ComputeNetwork(record);
    if (computation.ok())
      for (int r = top; r <= bottom; ++r)
        texts.push_back(NetworkRowTexts(record, computation.table.rows[static_cast<std::size_t>(r)]));
  }
  for (int r = top; r <= bottom; ++r) {
    for (int c = left; c <= right; ++c) {
      if (c > left) out += '\t';
      std::string cell;
      if (IsInputColumn(c)) {
        cell = NetworkInputCellText(record.segments[static_cast<std::size_t>(r)], c);
      } else if (computed) {
        cell = computed(r, c);
      } else if (!texts.empty()) {
        cell = texts[static_cast<std::size_t>(r - top)][static_cast<std::size_t>(c)];
      }
      PutTsvCell(out, cell);
    }
    out += "\r\n";
  }
  return out;
}

bool ClearCells(NetworkRecord& record, const NetworkCellRange& range) {
  const NetworkRecord before = record;
  const int bottom = std::min(range.bottom, static_cast<int>(record.segments.size()) - 1);
  for (int r = std::max(range.top, 0); r <= bottom; ++r)
    for (int c = std::max(range.left, 0); c <= std::min(range.right, ColumnCount() - 1); ++c)
      if (IsInputColumn(c)) (void)SetCellText(record, r, c, std::string());
  return record != before;
}

bool FillDown(NetworkRecord& record, const NetworkCellRange& range) {
  const int top = std::max(range.top, 0);
  const int bottom = std::min(range.bottom, static_cast<int>(record.segments.size()) - 1);
  if (top >= bottom) return false;
  const NetworkRecord before = record;
  for (int c = std::max(range.left, 0); c <= std::min(range.right, ColumnCount() - 1); ++c) {
    const char* field = FieldOf(c);
    if (!field) continue;
    const NetworkSegment first = record.segments[static_cast<std::size_t>(top)];
    for (int r = top + 1; r <= bottom; ++r) {
      NetworkSegment& s = record.segments[static_cast<std::size_t>(r)];
      if (Is(field, nf::kKind)) {
        ApplyFacility(s, FacilityOf(first));
      } else if (Is(field, nf::kDepth)) {
        if (const int index = DepthIndexOf(s, DepthText(first)); index >= 0) s.depthIndex = index;
      } else if (std::string* text = TextField(s, field)) {
        *text = *TextField(const_cast<NetworkSegment&>(first), field);
      }
    }
  }
  return record != before;
}

int InsertSegmentAfter(NetworkRecord& record, int row) {
  std::unordered_set<std::string> names;
  for (const NetworkSegment& s : record.segments) names.insert(s.name);
  NetworkSegment segment = NewNetworkSegment();
  const bool after = InTable(record, row);
  const int at = after ? row + 1 : static_cast<int>(record.segments.size());
  std::string name;
  if (after) {
    const NetworkSegment& from = record.segments[static_cast<std::size_t>(row)];
    segment.upstream = from.downstream;
    segment.kind = from.kind;
    segment.sizeIndex = from.sizeIndex;
    segment.facilityName = from.facilityName;
    segment.D = from.D;
    segment.B = from.B;
    segment.H = from.H;
    segment.slope = from.slope;
    segment.roughness = from.roughness;
    segment.depthIndex = from.depthIndex;
    name = from.name;
  }
  if (name.empty()) {
    for (int number = at + 1;; ++number)
      if (!names.count(std::to_string(number))) {
        segment.name = std::to_string(number);
        break;
      }
  } else {
    // The trailing number counted up, its width kept ("A-09" → "A-10").
    std::size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
    const bool numbered = digits < name.size() && name.size() - digits <= 9;
    const std::string stem = numbered ? name.substr(0, digits) : name + "-";
    const std::size_t width = numbered ? name.size() - digits : 1;
    long long number = numbered ? std::stoll(name.substr(digits)) + 1 : 2;
    for (;; ++number) {
      std::string count = std::to_string(number);
      if (count.size() < width) count.insert(0, width - count.size(), '0');
      if (!names.count(stem + count)) {
        segment.name = stem + count;
        break;
      }
    }
  }
  record.segments.insert(record.segments.begin() + at, std::move(segment));
  return at;
}

// ---------------------------------------------------------------- history

NetworkHistory::NetworkHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {
  reset(NetworkRecord{});
}

NetworkHistory::State NetworkHistory::share(const NetworkRecord& record) const {
  State state{record.settings, {}, record.nodes};
  state.segments.reserve(record.segments.size());
  // Walk the previous state alongside: a segment equal to the one at the
  // same place, or just after it (a row deleted), is shared; a row inserted
  // leaves the previous one for the next segment.
  const std::vector<std::shared_ptr<const NetworkSegment>>* previous =
      states_.empty() ? nullptr : &states_[index_].segments;
  std::size_t j = 0;
  const std::size_t count = previous ? previous->size() : 0;
  for (std::size_t i = 0; i < record.segments.size(); ++i) {
    const NetworkSegment& s = record.segments[i];
    if (j < count && *(*previous)[j] == s) {
      state.segments.push_back((*previous)[j++]);
    } else if (j + 1 < count && *(*previous)[j + 1] == s) {
      state.segments.push_back((*previous)[j + 1]);
      j += 2;
    } else {
      state.segments.push_back(std::make_shared<const NetworkSegment>(s));
      if (!(i + 1 < record.segments.size() && j < count && record.segments[i + 1] == *(*previous)[j])) ++j;
    }
  }
  return state;
}

void NetworkHistory::materialize() {
  const State& state = states_[index_];
  current_.settings = state.settings;
  current_.nodes = state.nodes;
  current_.segments.clear();
  current_.segments.reserve(state.segments.size());
  for (const auto& s : state.segments) current_.segments.push_back(*s);
  current_.nodes = state.nodes;
}

void NetworkHistory::reset(const NetworkRecord& record) {
  states_.clear();
  index_ = 0;
  states_.push_back(share(record));
  current_ = record;
}

bool NetworkHistory::push(const NetworkRecord& record) {
  if (record == current_) return false;
  State state = share(record);
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(index_) + 1, states_.end());
  states_.push_back(std::move(state));
  ++index_;
  while (states_.size() > limit_ + 1) {
    states_.pop_front();
    --index_;
  }
  current_ = record;
  return true;
}

const NetworkRecord& NetworkHistory::undo() {
  if (canUndo()) {
    --index_;
    materialize();
  }
  return current_;
}

const NetworkRecord& NetworkHistory::redo() {
  if (canRedo()) {
    ++index_;
    materialize();
  }
  return current_;
}

}  // namespace mk
