#include "project_file/vor_lines.h"

#include <charconv>
#include <initializer_list>
#include <limits>

#include "calc/catalogue.h"

namespace mk {

namespace {

// ------------------------------------------------------------------ layout
//
// The order of the lines is the format: there is no header and no field
// name.  WalkLayout is the one description of that order.  The writer walks
// it to produce the lines, the reader walks it to consume them; each
// conditional block is decided on the record's value at the moment the walk
// reaches it, which for the reader is the value it has just read.

constexpr int kMainKindCount = 6;      // Form25 lst_s: VP, VU, FRPM, Hume, other circular, rectangular
constexpr int kFlowTimeKindCount = 8;  // Form17 lst_s
constexpr int kFlowTimeUTrough = 5;

int ListSize(DepthListKind kind) { return static_cast<int>(DepthChoiceList(kind).size()); }

// Size list of a catalogue pipe screen for a facility kind (0..3 pipes, 5 U-trough).
int CatalogueListSize(int kind, bool uTroughAllowed) {
  if (const auto material = MaterialFromKind(kind)) return static_cast<int>(PipeSizes(*material).size());
  if (uTroughAllowed && kind == kFlowTimeUTrough) return static_cast<int>(UTroughSizes().size());
  return 0;
}

// One option group, walked member by member in file order.
template <class Walker>
void Options(Walker& w, std::initializer_list<bool*> group) {
  for (bool* member : group) w.Option(*member, group);
}

template <class Walker>
void WalkLayout(ProjectRecord& r, Walker& w) {
  // Block A: the main screen.
  MainScreenInputs& m = r.main;
  w.Text(m.txt_c);
  w.Text(m.txt_a);
  w.Text(m.txt_i);
  w.Index(m.lst_s, kMainKindCount);
  w.MainFacilityChosen(r);
  Options(w, {&m.opt1, &m.opt2});
  Options(w, {&m.opt3, &m.opt4});
  Options(w, {&m.opt5, &m.opt6});
  Options(w, {&m.opt7, &m.opt8});
  Options(w, {&m.opt9, &m.opt10});
  Options(w, {&m.opt11, &m.opt12});
  w.Text(m.txt1);
  w.Text(m.txt2);
  w.Text(m.txt3);

  // Block B: the facility screen of the chosen kind.
  FacilityScreenInputs& f = r.facility;
  switch (m.lst_s) {
    case 0: case 1: case 2: case 3:
      w.Index(f.form2.lst_pu, CatalogueListSize(m.lst_s, false));
      w.Text(f.form2.txt1);
      w.Text(f.form2.txt2);
      w.Index(f.form2.cbo1, ListSize(DepthListKind::Circular));
      break;
    case 4:
      w.Text(f.form5.txt_m);
      w.Text(f.form5.txt1);
      w.Text(f.form5.txt2);
      w.Text(f.form5.txt3);
      w.Index(f.form5.cbo1, ListSize(DepthListKind::Circular));
      break;
    case 5:
      w.Text(f.form1.txt_m);
      w.Text(f.form1.txt1);
      w.Text(f.form1.txt2);
      w.Text(f.form1.txt3);
      w.Text(f.form1.txt4);
      w.Index(f.form1.cbo1, ListSize(DepthListKind::Rectangular));
      break;
    default:
      break;
  }

  // Block C: the result captions.
  w.Text(r.results.lbl3);
  w.Text(r.results.lbl6);
  w.Text(r.results.lbl9);

  // Block D: rainfall intensity, with the river course and the inflow time.
  IntensityScreenInputs& in = r.intensity;
  if (m.opt4) {
    Options(w, {&in.opt1, &in.opt2, &in.opt3, &in.opt4, &in.opt5, &in.opt6});
    for (std::string* t : {&in.txt1, &in.txt2, &in.txt3, &in.txt4, &in.txt5, &in.txt6, &in.txt7,
                           &in.txt8, &in.txt9}) {
      w.Text(*t);
    }
    Options(w, {&in.Option1, &in.Option2});
    Options(w, {&in.Option3, &in.Option4});
    Options(w, {&in.Option5, &in.Option6});
    Options(w, {&in.Option7, &in.Option8});
    w.Check(in.chk1);
    w.Text(in.lbl1);
    Options(w, {&r.river.opt1, &r.river.opt2});
    w.Text(r.river.txt1);
    w.Text(r.river.txt2);
    w.Text(r.inflowCopies.slopeLength);
    w.Text(r.inflowCopies.slope);
    w.Text(r.inflowCopies.retardance);
    w.Text(r.inflow.txt1);
    w.Text(r.inflow.txt2);
    w.Text(r.inflow.txt3);
  }

  // Block E: runoff coefficient by land use.
  if (m.opt6) {
    for (int& check : r.runoff.checks) w.Check(check);
    for (std::string& t : r.runoff.txt_t) w.Text(t);
    for (std::string& t : r.runoff.txt_c) w.Text(t);
    for (std::string& t : r.runoff.txt_a) w.Text(t);
  }

  // Block F: the flow-time facility, only inside an intensity block whose
  // velocity is calculated.
  FlowTimeFacilityInputs& ft = r.flowTime;
  if (m.opt4 && in.Option8) {
    w.Text(ft.FlowTimeScreenCode);
    Options(w, {&ft.opt1, &ft.opt2});
    w.Index(ft.lst_s, kFlowTimeKindCount);
    w.FlowTimeFacilityChosen(r);
    switch (ft.lst_s) {
      case 0: case 1: case 2: case 3: case kFlowTimeUTrough: {
        const bool uTrough = ft.lst_s == kFlowTimeUTrough;
        w.Index(ft.form18.lst_pu, CatalogueListSize(ft.lst_s, true));
        w.Text(ft.form18.txt1);
        w.Text(ft.form18.txt2);
        w.Index(ft.form18.cbo1, ListSize(uTrough ? DepthListKind::OpenChannel : DepthListKind::Circular));
        break;
      }
      case 6:
        w.Text(ft.form19.txt_m);
        for (std::string* t : {&ft.form19.txt1, &ft.form19.txt2, &ft.form19.txt3, &ft.form19.txt4,
                               &ft.form19.txt5, &ft.form19.txt6}) {
          w.Text(*t);
        }
        w.Index(ft.form19.cbo1, ListSize(DepthListKind::OpenChannel));
        break;
      case 4:
        w.Text(ft.form20.txt_m);
        w.Text(ft.form20.txt1);
        w.Text(ft.form20.txt2);
        w.Text(ft.form20.txt3);
        w.Index(ft.form20.cbo1, ListSize(DepthListKind::Circular));
        break;
      case 7:
        w.Text(ft.form21.txt_m);
        for (std::string* t : {&ft.form21.txt1, &ft.form21.txt2, &ft.form21.txt3, &ft.form21.txt4,
                               &ft.form21.txt5}) {
          w.Text(*t);
        }
        for (std::string& x : ft.form21.txt_x) w.Text(x);
        for (std::string& y : ft.form21.txt_y) w.Text(y);
        break;
      default:
        break;
    }
  }

  // Block G: planned sewage flow.
  if (m.opt7) {
    SewageFlowInput& s = r.sewage;
    Options(w, {&s.opt1, &s.opt2, &s.opt3});
    w.Text(s.txt_p);
    w.Text(s.txt_q1);
    w.Text(s.txt_a);
    w.Text(s.txt_q2);
  }
}


// ------------------------------------------------------------------ writer

// A list index or check: one blank (or the minus sign) before, one after.
std::string IntegerLine(int value) {
  return value < 0 ? std::to_string(value) + " " : " " + std::to_string(value) + " ";
}

class LineWriter {
 public:
  std::vector<std::string> lines;

  void Text(std::string& value) { lines.push_back(value); }
  void Option(bool& value, std::initializer_list<bool*>) { lines.push_back(value ? "True" : "False"); }
  void Index(int& value, int) { lines.push_back(IntegerLine(value)); }
  void Check(int& value) { lines.push_back(IntegerLine(value)); }
  void MainFacilityChosen(ProjectRecord&) {}
  void FlowTimeFacilityChosen(ProjectRecord&) {}
};

// ------------------------------------------------------------------ reader

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The whole line as an integer, surrounding blanks ignored; nothing when the
// line is anything else.
std::optional<int> ParseIntegerLine(std::string_view line) {
  std::string_view s = TrimBlanks(line);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

// Choosing the main facility kind opens its screen with its defaults and
// discards the others; the screen's lines, read next, overwrite them.
void ResetMainFacility(ProjectRecord& r) {
  r.facility = FacilityScreenInputs{};
  CatalogueFacilityInputs& form2 = r.facility.form2;
  form2.lst_pu = 0;
  form2.txt1.clear();
  form2.cbo1 = DefaultDepthIndex(DepthListKind::Circular);
  if (const auto material = MaterialFromKind(r.main.lst_s)) form2.txt2 = DefaultRoughness(*material);
  r.facility.form5.cbo1 = DefaultDepthIndex(DepthListKind::Circular);
  r.facility.form1.cbo1 = DefaultDepthIndex(DepthListKind::Rectangular);
}

// The same for the flow-time selection: Form18 is initialised for the pipe
// material or the U-trough; the other screens open as new.
void ResetFlowTimeFacility(ProjectRecord& r) {
  FlowTimeFacilityInputs& ft = r.flowTime;
  ft.form18 = CatalogueFacilityInputs{};
  ft.form19 = DitchInputs{};
  ft.form20 = OtherCircularInputs{};
  ft.form21 = IrregularChannelInputs{};
  if (const auto material = MaterialFromKind(ft.lst_s)) {
    ft.form18.txt2 = DefaultRoughness(*material);
    ft.form18.cbo1 = DefaultDepthIndex(DepthListKind::Circular);
  } else if (ft.lst_s == kFlowTimeUTrough) {
    ft.form18.txt2 = kUTroughRoughness;
    ft.form18.cbo1 = DefaultDepthIndex(DepthListKind::OpenChannel);
  }
  ft.form19.cbo1 = DefaultDepthIndex(DepthListKind::OpenChannel);
  ft.form20.cbo1 = DefaultDepthIndex(DepthListKind::Circular);
  ft.form21.txt_x = {" 0", "", "", "", "", "", "", ""};
  ft.form21.txt_y = {" 0", "", "", "", "", "", "", ""};
}

// Reads the lines in layout order.  A line that does not convert to its
// field's kind leaves the field as it was; once the lines run out, every
// remaining field keeps the value it has.
class LineReader {
 public:
  explicit LineReader(const std::vector<std::string>& lines) : lines_(lines) {}

  void Text(std::string& value) {
    if (const std::string* line = Next()) value = *line;
  }

  // "True" or "False", surrounding blanks ignored.  An option set to true
  // clears the other members of its group, as an option button does.
  void Option(bool& value, std::initializer_list<bool*> group) {
    const std::string* line = Next();
    if (!line) return;
    const std::string_view word = TrimBlanks(*line);
    if (word == "True") {
      for (bool* member : group) *member = false;
      value = true;
    } else if (word == "False") {
      value = false;
    }
  }

  // An index of a list of `count` entries, or -1 for no entry.
  void Index(int& value, int count) {
    const std::string* line = Next();
    if (!line) return;
    const auto number = ParseIntegerLine(*line);
    if (number && *number >= -1 && *number < count) value = *number;
  }

  void Check(int& value) {
    const std::string* line = Next();
    if (!line) return;
    const auto number = ParseIntegerLine(*line);
    if (number && (*number == 0 || *number == 1)) value = *number;
  }

  void MainFacilityChosen(ProjectRecord& r) { ResetMainFacility(r); }
  void FlowTimeFacilityChosen(ProjectRecord& r) { ResetFlowTimeFacility(r); }

 private:
  const std::string* Next() { return next_ < lines_.size() ? &lines_[next_++] : nullptr; }

  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;
};
}  // namespace

std::vector<std::string> ProjectFileLines(const ProjectRecord& record) {
  ProjectRecord copy = record;  // the walk takes fields by reference; the writer only reads them
  LineWriter writer;
  WalkLayout(copy, writer);
  return std::move(writer.lines);
}

void ReadProjectLines(const std::vector<std::string>& lines, ProjectRecord& record) {
  LineReader reader(lines);
  WalkLayout(record, reader);
}

std::vector<std::string_view> SplitProjectFileLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  lines.reserve(kMaxLayoutLines);  // one allocation, whatever the file holds
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < bytes.size() && lines.size() < kMaxLayoutLines) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size() && lines.size() < kMaxLayoutLines) lines.push_back(bytes.substr(start));
  return lines;
}

}  // namespace mk
