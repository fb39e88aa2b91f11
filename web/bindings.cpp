// The browser edition's view of the core: one open project (the record) and
// the calculations, validations, report and project file lines over it,
// bound to JavaScript with embind.  The page only shows and edits; every
// number, message and line of the report comes from here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "calc/catalogue.h"
#include "calc/check_run.h"
#include "calc/flow_time.h"
#include "calc/intensity.h"
#include "calc/network.h"
#include "calc/network_edit.h"
#include "calc/network_levels.h"
#include "calc/polygon_drawing.h"
#include "calc/recompute.h"
#include "calc/runoff.h"
#include "calc/sewage.h"
#include "calc/sizing.h"
#include "drawing/dxf_writer.h"
#include "drawing/profile_path.h"
#include "drawing/svg_writer.h"
#include "model/number_text.h"
#include "model/project_record.h"
#include "project_file/network_lines.h"
#include "project_file/vor_lines.h"
#include "report/flow_report.h"
#include "report/page_split.h"

#include "cp932_tables.inc"

using emscripten::val;

namespace mk {
namespace {

// ------------------------------------------------------------ CP932

// One code point of UTF-8 text; advances `i`.  Invalid bytes give U+FFFD.
char32_t NextCodePoint(const std::string& s, std::size_t& i) {
  const std::u32string one = DecodeUtf8(std::string_view(s).substr(i, std::min<std::size_t>(4, s.size() - i)));
  const unsigned char lead = static_cast<unsigned char>(s[i]);
  std::size_t len = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (i + len > s.size()) len = 1;
  i += len;
  return one.empty() ? U'\uFFFD' : one[0];
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// The table entry for `c` in a table of (code point << 16) | value.
template <std::size_t N>
std::optional<std::uint16_t> Lookup(const std::uint32_t (&table)[N], char32_t c) {
  if (c > 0xFFFF) return std::nullopt;
  const std::uint32_t key = static_cast<std::uint32_t>(c) << 16;
  const auto* it = std::lower_bound(std::begin(table), std::end(table), key);
  if (it == std::end(table) || (*it >> 16) != c) return std::nullopt;
  return static_cast<std::uint16_t>(*it & 0xFFFF);
}

// UTF-8 -> CP932 as the desktop writes it; the first character without a
// CP932 form is named in `badChar`.
std::optional<std::string> EncodeCp932(const std::string& utf8, std::string* badChar) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, i);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    const auto bytes = Lookup(kCp932Encode, c);
    if (!bytes) {
      if (badChar) *badChar = Utf8Of(c);
      return std::nullopt;
    }
    if (*bytes > 0xFF) out += static_cast<char>(*bytes >> 8);
    out += static_cast<char>(*bytes & 0xFF);
  }
  return out;
}

// Text the browser's Shift_JIS decoder gave -> the characters the desktop
// reads from the same bytes (a decoder that follows the JIS mapping gives
// "〜" U+301C for 81 60, which the desktop reads as "～").
std::string DesktopDecodedForm(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, i);
    const auto other = Lookup(kCp932DecodedForm, c);
    out += Utf8Of(other ? *other : c);
  }
  return out;
}

val BytesOf(const std::string& bytes) {
  val array = val::global("Uint8Array").new_(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) array.set(i, static_cast<unsigned char>(bytes[i]));
  return array;
}

val Failure(const std::string& message) {
  val result = val::object();
  result.set("ok", false);
  result.set("message", message);
  return result;
}

// ------------------------------------------------------------ fields

using FieldSlot = std::variant<std::string*, bool*, int*>;
using FieldResolver = std::function<FieldSlot(ProjectRecord&)>;

// Every input by "Form.control", as the screens and the validations name them.
const std::map<std::string, FieldResolver>& Fields() {
  static const std::map<std::string, FieldResolver> fields = [] {
    std::map<std::string, FieldResolver> f;
#define MK_FIELD(name, expr) f[name] = [](ProjectRecord& r) -> FieldSlot { return &(r.expr); }
    MK_FIELD("Form25.txt_c", main.txt_c);
    MK_FIELD("Form25.txt_a", main.txt_a);
    MK_FIELD("Form25.txt_i", main.txt_i);
    MK_FIELD("Form25.lst_s", main.lst_s);
    MK_FIELD("Form25.opt1", main.opt1);
    MK_FIELD("Form25.opt2", main.opt2);
    MK_FIELD("Form25.opt3", main.opt3);
    MK_FIELD("Form25.opt4", main.opt4);
    MK_FIELD("Form25.opt5", main.opt5);
    MK_FIELD("Form25.opt6", main.opt6);
    MK_FIELD("Form25.opt7", main.opt7);
    MK_FIELD("Form25.opt8", main.opt8);
    MK_FIELD("Form25.opt9", main.opt9);
    MK_FIELD("Form25.opt10", main.opt10);
    MK_FIELD("Form25.opt11", main.opt11);
    MK_FIELD("Form25.opt12", main.opt12);
    MK_FIELD("Form25.txt1", main.txt1);
    MK_FIELD("Form25.txt2", main.txt2);
    MK_FIELD("Form25.txt3", main.txt3);
    MK_FIELD("Form2.lst_pu", facility.form2.lst_pu);
    MK_FIELD("Form2.txt1", facility.form2.txt1);
    MK_FIELD("Form2.txt2", facility.form2.txt2);
    MK_FIELD("Form2.cbo1", facility.form2.cbo1);
    MK_FIELD("Form5.txt_m", facility.form5.txt_m);
    MK_FIELD("Form5.txt1", facility.form5.txt1);
    MK_FIELD("Form5.txt2", facility.form5.txt2);
    MK_FIELD("Form5.txt3", facility.form5.txt3);
    MK_FIELD("Form5.cbo1", facility.form5.cbo1);
    MK_FIELD("Form1.txt_m", facility.form1.txt_m);
    MK_FIELD("Form1.txt1", facility.form1.txt1);
    MK_FIELD("Form1.txt2", facility.form1.txt2);
    MK_FIELD("Form1.txt3", facility.form1.txt3);
    MK_FIELD("Form1.txt4", facility.form1.txt4);
    MK_FIELD("Form1.cbo1", facility.form1.cbo1);
    MK_FIELD("Form26.lbl3", results.lbl3);
    MK_FIELD("Form26.lbl6", results.lbl6);
    MK_FIELD("Form26.lbl9", results.lbl9);
    MK_FIELD("Form12.opt1", intensity.opt1);
    MK_FIELD("Form12.opt2", intensity.opt2);
    MK_FIELD("Form12.opt3", intensity.opt3);
    MK_FIELD("Form12.opt4", intensity.opt4);
    MK_FIELD("Form12.opt5", intensity.opt5);
    MK_FIELD("Form12.opt6", intensity.opt6);
    MK_FIELD("Form12.txt1", intensity.txt1);
    MK_FIELD("Form12.txt2", intensity.txt2);
    MK_FIELD("Form12.txt3", intensity.txt3);
    MK_FIELD("Form12.txt4", intensity.txt4);
    MK_FIELD("Form12.txt5", intensity.txt5);
    MK_FIELD("Form12.txt6", intensity.txt6);
    MK_FIELD("Form12.txt7", intensity.txt7);
    MK_FIELD("Form12.txt8", intensity.txt8);
    MK_FIELD("Form12.txt9", intensity.txt9);
    MK_FIELD("Form12.Option1", intensity.Option1);
    MK_FIELD("Form12.Option2", intensity.Option2);
    MK_FIELD("Form12.Option3", intensity.Option3);
    MK_FIELD("Form12.Option4", intensity.Option4);
    MK_FIELD("Form12.Option5", intensity.Option5);
    MK_FIELD("Form12.Option6", intensity.Option6);
    MK_FIELD("Form12.Option7", intensity.Option7);
    MK_FIELD("Form12.Option8", intensity.Option8);
    MK_FIELD("Form12.chk1", intensity.chk1);
    MK_FIELD("Form12.lbl1", intensity.lbl1);
    MK_FIELD("Form22.opt1", river.opt1);
    MK_FIELD("Form22.opt2", river.opt2);
    MK_FIELD("Form22.txt1", river.txt1);
    MK_FIELD("Form22.txt2", river.txt2);
    MK_FIELD("Form13.txt1", inflow.txt1);
    MK_FIELD("Form13.txt2", inflow.txt2);
    MK_FIELD("Form13.txt3", inflow.txt3);
    MK_FIELD("Form17.FlowTimeScreenCode", flowTime.FlowTimeScreenCode);
    MK_FIELD("Form17.opt1", flowTime.opt1);
    MK_FIELD("Form17.opt2", flowTime.opt2);
    MK_FIELD("Form17.lst_s", flowTime.lst_s);
    MK_FIELD("Form18.lst_pu", flowTime.form18.lst_pu);
    MK_FIELD("Form18.txt1", flowTime.form18.txt1);
    MK_FIELD("Form18.txt2", flowTime.form18.txt2);
    MK_FIELD("Form18.cbo1", flowTime.form18.cbo1);
    MK_FIELD("Form19.txt_m", flowTime.form19.txt_m);
    MK_FIELD("Form19.txt1", flowTime.form19.txt1);
    MK_FIELD("Form19.txt2", flowTime.form19.txt2);
    MK_FIELD("Form19.txt3", flowTime.form19.txt3);
    MK_FIELD("Form19.txt4", flowTime.form19.txt4);
    MK_FIELD("Form19.txt5", flowTime.form19.txt5);
    MK_FIELD("Form19.txt6", flowTime.form19.txt6);
    MK_FIELD("Form19.cbo1", flowTime.form19.cbo1);
    MK_FIELD("Form20.txt_m", flowTime.form20.txt_m);
    MK_FIELD("Form20.txt1", flowTime.form20.txt1);
    MK_FIELD("Form20.txt2", flowTime.form20.txt2);
    MK_FIELD("Form20.txt3", flowTime.form20.txt3);
    MK_FIELD("Form20.cbo1", flowTime.form20.cbo1);
    MK_FIELD("Form21.txt_m", flowTime.form21.txt_m);
    MK_FIELD("Form21.txt1", flowTime.form21.txt1);
    MK_FIELD("Form21.txt2", flowTime.form21.txt2);
    MK_FIELD("Form21.txt3", flowTime.form21.txt3);
    MK_FIELD("Form21.txt4", flowTime.form21.txt4);
    MK_FIELD("Form21.txt5", flowTime.form21.txt5);
    MK_FIELD("Form28.opt1", sewage.opt1);
    MK_FIELD("Form28.opt2", sewage.opt2);
    MK_FIELD("Form28.opt3", sewage.opt3);
    MK_FIELD("Form28.txt_p", sewage.txt_p);
    MK_FIELD("Form28.txt_q1", sewage.txt_q1);
    MK_FIELD("Form28.txt_a", sewage.txt_a);
    MK_FIELD("Form28.txt_q2", sewage.txt_q2);
#undef MK_FIELD
    for (int i = 0; i < 8; ++i) {
      const std::string n = std::to_string(i + 1);
      f["Form21.txt_x" + n] = [i](ProjectRecord& r) -> FieldSlot { return &r.flowTime.form21.txt_x[i]; };
      f["Form21.txt_y" + n] = [i](ProjectRecord& r) -> FieldSlot { return &r.flowTime.form21.txt_y[i]; };
    }
    for (int i = 0; i < 6; ++i) {
      const std::string n = std::to_string(i + 1);
      f["Form16.txt_t" + n] = [i](ProjectRecord& r) -> FieldSlot { return &r.runoff.txt_t[i]; };
      f["Form16.txt_c" + n] = [i](ProjectRecord& r) -> FieldSlot { return &r.runoff.txt_c[i]; };
      f["Form16.txt_a" + n] = [i](ProjectRecord& r) -> FieldSlot { return &r.runoff.txt_a[i]; };
    }
    for (int i = 0; i < 19; ++i) {
      f[std::string("Form16.") + LandUseCatalogue()[i].control] = [i](ProjectRecord& r) -> FieldSlot {
        return &r.runoff.checks[i];
      };
    }
    return f;
  }();
  return fields;
}

val ErrorValue(const CalcError& error) {
  val result = val::object();
  result.set("message", error.message);
  result.set("focus", error.focus);
  return result;
}

val ErrorOrNull(const std::optional<CalcError>& error) {
  return error ? ErrorValue(*error) : val::null();
}

val OptionalNumber(const std::optional<double>& value) {
  return value ? val(*value) : val::null();
}

val LinesValue(const PrintLines& lines) {
  val array = val::array();
  for (const PrintLine& line : lines) {
    val one = val::object();
    one.set("text", line.text);
    one.set("magenta", line.magenta);
    array.call<void>("push", one);
  }
  return array;
}

val StringsValue(const std::vector<std::string>& lines) {
  val array = val::array();
  for (const std::string& line : lines) array.call<void>("push", line);
  return array;
}

}  // namespace

// ------------------------------------------------------------ decoder check

// Every character the desktop can save, as its bytes decoded by the
// browser's decoder `decode` and turned into the desktop's form: the
// characters (as "U+XXXX") that do not read back as the desktop reads them.
val DecoderMismatches(val decode) {
  val mismatches = val::array();
  for (const std::uint32_t entry : kCp932Encode) {
    const char32_t c = entry >> 16;
    const std::uint16_t code = entry & 0xFFFF;
    unsigned char bytes[2];
    std::size_t size = 0;
    if (code > 0xFF) bytes[size++] = static_cast<unsigned char>(code >> 8);
    bytes[size++] = static_cast<unsigned char>(code & 0xFF);
    const std::string decoded = decode(val(emscripten::typed_memory_view(size, bytes))).as<std::string>();
    const auto desktop = Lookup(kCp932DecodedForm, c);
    if (DesktopDecodedForm(decoded) != Utf8Of(desktop ? *desktop : c)) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
      mismatches.call<void>("push", std::string(name));
    }
  }
  return mismatches;
}

// ------------------------------------------------------------ undo

// The states a document went through, for undo and redo: one snapshot per
// edit; consecutive edits with the same non-empty key (typing into one box)
// make one step.
template <typename Record>
class SnapshotHistory {
 public:
  void reset(const Record& now) {
    states_.assign(1, now);
    at_ = 0;
    lastKey_.clear();
  }
  // After an edit: false when nothing changed.
  bool commit(const Record& now, const std::string& key) {
    if (states_.empty()) reset(now);
    if (now == states_[at_]) return false;
    if (!key.empty() && key == lastKey_ && at_ > 0 && at_ + 1 == states_.size()) {
      states_[at_] = now;
      return true;
    }
    states_.resize(at_ + 1);
    states_.push_back(now);
    if (states_.size() > kLimit) states_.erase(states_.begin());
    at_ = states_.size() - 1;
    lastKey_ = key;
    return true;
  }
  bool canUndo() const { return at_ > 0; }
  bool canRedo() const { return at_ + 1 < states_.size(); }
  const Record& undo() {
    if (canUndo()) --at_;
    lastKey_.clear();
    return states_[at_];
  }
  const Record& redo() {
    if (canRedo()) ++at_;
    lastKey_.clear();
    return states_[at_];
  }

 private:
  static constexpr std::size_t kLimit = 200;
  std::vector<Record> states_;
  std::size_t at_ = 0;
  std::string lastKey_;
};

// What a project keeps between edits: everything the file holds (a run
// result is not part of a state).
struct ProjectState {
  ProjectRecord record;
  std::vector<std::string> lines;
  bool operator==(const ProjectState& other) const { return lines == other.lines; }
};

// ------------------------------------------------------------ the project

class WebProject {
 public:
  WebProject() {
    NewProject(record_);
    resetHistory();
  }

  // New, Open and 区間を開く are steps of the history like any edit (the
  // page commits after them), so that they can be undone.
  void newProject() { NewProject(record_); }

  // A project whose lines were kept by the page (UTF-8, as the file's lines
  // decoded): read and recomputed as Open does.
  void openLines(val lines) {
    std::vector<std::string> read;
    const int n = lines["length"].as<int>();
    for (int i = 0; i < n; ++i) read.push_back(lines[i].as<std::string>());
    ProjectRecord opened = record_;
    CloseProjectGroups(opened);
    ReadProjectLines(read, opened);
    record_ = std::move(opened);
    RecomputeAfterOpen(record_);
  }

  // Undo and redo over the project's states (see SnapshotHistory); commit
  // after every edit.  A state brought back has no run result.
  bool commit(const std::string& key) { return history_.commit(state(), key); }
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  bool undo() { return restore(history_.canUndo(), history_.undo()); }
  bool redo() { return restore(history_.canRedo(), history_.redo()); }
  void resetHistory() { history_.reset(state()); }

  const ProjectRecord& record() const { return record_; }
  void replace(const ProjectRecord& record) { record_ = record; }

  // Open from the file's bytes: split as the desktop splits them, each line
  // decoded by `decode` (the browser's Shift_JIS decoder), turned into the
  // desktop's characters, read, and recomputed as Open does.
  void openBytes(const std::string& bytes, val decode) {
    std::vector<std::string> lines;
    for (const std::string_view raw : SplitProjectFileLines(bytes)) {
      const auto* data = reinterpret_cast<const unsigned char*>(raw.data());
      const std::string decoded = decode(val(emscripten::typed_memory_view(raw.size(), data))).as<std::string>();
      lines.push_back(DesktopDecodedForm(decoded));
    }
    ProjectRecord opened = record_;
    CloseProjectGroups(opened);
    ReadProjectLines(lines, opened);
    record_ = std::move(opened);
    RecomputeAfterOpen(record_);
  }

  val get(const std::string& name) {
    const auto it = Fields().find(name);
    if (it == Fields().end()) return val::undefined();
    const FieldSlot slot = it->second(record_);
    if (auto* s = std::get_if<std::string*>(&slot)) return val(**s);
    if (auto* b = std::get_if<bool*>(&slot)) return val(**b);
    return val(*std::get<int*>(slot));
  }

  // Stores an input as typed or chosen; false for an unknown name.
  bool set(const std::string& name, val value) {
    const auto it = Fields().find(name);
    if (it == Fields().end()) return false;
    const FieldSlot slot = it->second(record_);
    if (auto* s = std::get_if<std::string*>(&slot)) **s = value.as<std::string>();
    else if (auto* b = std::get_if<bool*>(&slot)) **b = value.as<bool>();
    else *std::get<int*>(slot) = value.as<int>();
    return true;
  }

  void discardRunResult() { DiscardRunResult(record_); }

  // A sub-screen's inputs start over (its Cancel, or the main screen's
  // 直接入力 that leaves it): "Form16", "Form12" (with the flow-time
  // facility), "Form13", "Form22" or "Form28".
  void resetScreen(const std::string& form) {
    if (form == "Form16") record_.runoff = RunoffScreenInputs{};
    if (form == "Form12") {
      record_.intensity = IntensityScreenInputs{};
      discardFlowTimeVelocity();
    }
    if (form == "Form13") record_.inflow = InflowTimeInputs{};
    if (form == "Form22") record_.river = RiverCourseInputs{};
    if (form == "Form28") record_.sewage = SewageFlowInput{};
  }

  // The main screen's facility list: the chosen kind's screen starts afresh
  // (a catalogue pipe with its material's roughness), the others are dropped.
  void chooseMainFacility(int kind) {
    record_.main.lst_s = kind;
    DiscardRunResult(record_);
    record_.facility = FacilityScreenInputs{};
    if (const auto material = MaterialFromKind(kind)) {
      record_.facility.form2.txt2 = DefaultRoughness(*material);
      record_.facility.form2.cbo1 = DefaultDepthIndex(DepthListKind::Circular);
    }
  }

  // The flow-time list: the chosen kind's facility starts afresh.
  void chooseFlowTimeKind(int kind) {
    FlowTimeFacilityInputs& f = record_.flowTime;
    const int code = FlowTimeScreenCodeForKind(kind);
    f.lst_s = kind;
    f.form18 = CatalogueFacilityInputs{};
    f.form19 = DitchInputs{};
    f.form20 = OtherCircularInputs{};
    f.form21 = IrregularChannelInputs{};
    f.FlowTimeScreenCode = FormatGeneralNumber(code);
    if (code == 1) {
      const bool trough = kind == 5;
      if (trough) f.form18.txt2 = kUTroughRoughness;
      else if (const auto material = MaterialFromKind(kind)) f.form18.txt2 = DefaultRoughness(*material);
      f.form18.cbo1 = DefaultDepthIndex(trough ? DepthListKind::OpenChannel : DepthListKind::Circular);
    }
  }

  // The velocity is typed again: the flow-time facility is forgotten.
  void discardFlowTimeVelocity() {
    record_.flowTime = FlowTimeFacilityInputs{};
    record_.flowTime.FlowTimeScreenCode = FormatGeneralNumber(0);
  }

  void chooseIntensityFormula(int number) {
    ChooseIntensityFormula(record_.intensity, static_cast<IntensityFormula>(number - 1));
  }
  int chosenIntensityFormula() {
    const auto formula = ChosenFormula(record_.intensity);
    return formula ? static_cast<int>(*formula) + 1 : 0;
  }
  bool isRiverCourseMode() { return IsRiverCourseMode(record_.intensity); }

  void chooseSewageClass(int number) {
    ChooseSewageClass(record_.sewage, static_cast<SewageClass>(number - 1));
  }
  void beginSewageCalculation() { BeginSewageCalculation(record_); }
  void switchSewageToDirect() { SwitchSewageToDirect(record_); }

  void toggleLandUse(int index, bool ticked) { ApplyLandUseToggle(record_.runoff, index, ticked); }

  // The sub-screens' OK: the checks in order and, when they pass, the values
  // handed to the screen above.  null when accepted, else {message, focus}.
  val acceptRunoff() { return ErrorOrNull(AcceptRunoffScreen(record_)); }
  val acceptSewage() { return ErrorOrNull(AcceptSewageScreen(record_)); }
  val acceptInflowTime() { return ErrorOrNull(AcceptInflowTimeScreen(record_)); }
  val validateRiverCourse() { return ErrorOrNull(ValidateRiverCourseScreen(record_.river)); }
  val acceptIntensity() {
    const auto failure = AcceptIntensityScreen(record_);
    if (!failure) return val::null();
    val result = ErrorValue(failure->error);
    const char* followUp[] = {"none", "focus", "chooseFormulaOne", "openRiverCourse"};
    result.set("followUp", std::string(followUp[static_cast<int>(failure->followUp)]));
    return result;
  }
  // The flow-time facility's 計算: V, or the first failure.  On success V
  // goes into the intensity screen's V box as that screen shows it.
  val flowTimeVelocity() {
    const Outcome<double> outcome = RunFlowTimeVelocity(record_);
    if (!outcome) return Failure(outcome.error().message);
    IntensityScreenInputs& s = record_.intensity;
    s.Option7 = false;
    s.Option8 = true;
    s.txt5 = FormatNumber(*outcome, "0.00##");
    val result = val::object();
    result.set("ok", true);
    result.set("V", *outcome);
    result.set("text", s.txt5);
    return result;
  }
  val flowTimeVelocityFailure() {
    ProjectRecord copy = record_;
    const Outcome<double> outcome = RunFlowTimeVelocity(copy);
    return outcome ? val::null() : ErrorValue(outcome.error());
  }

  // The irregular channel's outline in the screen's pixels, or null.
  val channelOutline() {
    const auto& c = record_.flowTime.form21;
    const auto points = PolygonOutlinePoints(c.txt_x, c.txt_y);
    if (!points) return val::null();
    val array = val::array();
    for (const DrawingPoint& p : *points) {
      val one = val::array();
      one.call<void>("push", p.x);
      one.call<void>("push", p.y);
      array.call<void>("push", one);
    }
    return array;
  }

  // 計算: the check run.
  val checkRun() {
    const CheckRunOutcome outcome = CheckRun(record_);
    val result = val::object();
    result.set("passed", outcome.passed);
    result.set("message", outcome.failure.message);
    result.set("focus", outcome.failure.focus);
    result.set("switchedSewageToDirect", outcome.switchedSewageToDirect);
    result.set("Q1", outcome.lbl3);
    result.set("Q2", outcome.lbl6);
    result.set("V", outcome.lbl9);
    result.set("factor", outcome.lbl16);
    result.set("times", outcome.lbl17);
    result.set("notice", outcome.statusNotice);
    result.set("no", outcome.beep);
    return result;
  }

  val reportLines() {
    const FlowReport report = ComposeFlowReport(record_);
    val result = val::object();
    result.set("lines", StringsValue(report.lines));
    result.set("no", report.verdictIsNo);
    result.set("verdictLine", report.verdictLineIndex);
    return result;
  }

  val reportPages() {
    const PrintPages pages = SplitReportPages(ComposeFlowReport(record_), record_);
    val result = val::object();
    result.set("page1", LinesValue(pages.page1));
    result.set("page2", LinesValue(pages.page2));
    result.set("no", pages.verdictIsNo);
    return result;
  }

  // 書き込み: the report as the text file's bytes (CP932, CR LF), or the
  // desktop's message naming the character that cannot be written.
  val reportFileBytes() {
    std::string bytes;
    for (const std::string& line : ComposeFlowReport(record_).lines) {
      std::string badChar;
      const auto encoded = EncodeCp932(line, &badChar);
      if (!encoded) {
        return Failure("計算書に書き込めない文字「" + badChar + "」が含まれています。書き込みを中止しました。");
      }
      bytes += *encoded;
      bytes += "\r\n";
    }
    val result = val::object();
    result.set("ok", true);
    result.set("bytes", BytesOf(bytes));
    return result;
  }

  val projectFileLines() { return StringsValue(ProjectFileLines(record_)); }

  // Save: the .vor bytes, or the desktop's message when a line cannot be
  // written; nothing is offered then.
  val projectFileBytes() {
    std::string bytes;
    for (const std::string& line : ProjectFileLines(record_)) {
      if (line.find_first_of("\r\n") != std::string::npos) {
        return Failure("改行を含む入力があるため、保存できません。改行を取り除いてから保存してください。");
      }
      std::string badChar;
      const auto encoded = EncodeCp932(line, &badChar);
      if (!encoded) {
        return Failure("「" + badChar + "」はファイルに保存できない文字です（入力「" + line +
                       "」）。この文字を別の文字に直してから保存してください。");
      }
      bytes += *encoded;
      bytes += "\r\n";
    }
    val result = val::object();
    result.set("ok", true);
    result.set("bytes", BytesOf(bytes));
    return result;
  }

  // The sizing table with every number as the report command prints it.
  val sizeTable() {
    const SizeTableResult table = SizeTable(record_);
    val rows = val::array();
    for (const SizingRow& row : table.rows) {
      val one = val::object();
      one.set("label", row.label);
      one.set("rectangular", row.rectangular);
      one.set("D", row.D);
      one.set("B", row.B);
      one.set("H", row.H);
      one.set("A", OptionalNumber(row.section ? std::optional<double>(row.section->A) : std::nullopt));
      one.set("P", OptionalNumber(row.section ? std::optional<double>(row.section->P) : std::nullopt));
      one.set("R", OptionalNumber(row.R));
      one.set("V", OptionalNumber(row.V));
      one.set("Q2", OptionalNumber(row.Q2));
      one.set("verdict", row.verdict ? val(std::string(*row.verdict == Verdict::OK ? "O.K" : "NO")) : val::null());
      one.set("smallest", row.smallestPassing);
      rows.call<void>("push", one);
    }
    val problems = val::array();
    for (const CalcError& e : table.problems) problems.call<void>("push", ErrorValue(e));
    val result = val::object();
    result.set("rows", rows);
    result.set("Q1", OptionalNumber(table.Q1));
    result.set("problems", problems);
    return result;
  }

 private:
  ProjectState state() const { return ProjectState{record_, ProjectFileLines(record_)}; }
  bool restore(bool moved, const ProjectState& to) {
    if (!moved) return false;
    record_ = to.record;
    DiscardRunResult(record_);
    return true;
  }

  ProjectRecord record_;
  SnapshotHistory<ProjectState> history_;
};

// ------------------------------------------------------------ the network table

// The network flow table: its own record (settings and segment rows as
// typed), computed whole after every edit as the desktop's table does.
class WebNetwork {
 public:
  WebNetwork() { resetHistory(); }

  int size() const { return static_cast<int>(record_.segments.size()); }

  void addSegment() { record_.segments.push_back(NewNetworkSegment()); }
  void removeSegment(int i) {
    if (valid(i)) record_.segments.erase(record_.segments.begin() + i);
  }

  // A setting or design criterion by its field key (the percentages as
  // "groundwater_percent" and "surcharge_percent"; the formula as 1..6, the
  // velocity formula as 0 Manning or 1 Kutter, the joint method as 0 管頂接合,
  // 1 水面接合, 2 管中心接合, 3 管底接合).
  val setting(const std::string& key) {
    NetworkSettings& s = record_.settings;
    if (key == network_field::kFormula) return val(static_cast<int>(s.formula) + 1);
    if (key == network_field::kJoint) return val(static_cast<int>(s.criteria.joint));
    if (key == network_field::kVelocity) return val(s.velocity == VelocityFormula::Kutter ? 1 : 0);
    if (key == network_field::kGroundwater) return val(s.groundwater);
    if (key == network_field::kSurcharge) return val(s.surcharge);
    if (std::string* text = settingText(key)) return val(*text);
    return val::undefined();
  }
  bool setSetting(const std::string& key, val value) {
    NetworkSettings& s = record_.settings;
    if (key == network_field::kFormula) {
      s.formula = static_cast<IntensityFormula>(std::clamp(value.as<int>(), 1, 6) - 1);
    } else if (key == network_field::kJoint) {
      s.criteria.joint = static_cast<JointMethod>(std::clamp(value.as<int>(), 0, 3));
    } else if (key == network_field::kVelocity) {
      s.velocity = value.as<int>() == 1 ? VelocityFormula::Kutter : VelocityFormula::Manning;
    } else if (key == network_field::kGroundwater) {
      s.groundwater = value.as<bool>();
    } else if (key == network_field::kSurcharge) {
      s.surcharge = value.as<bool>();
    } else if (std::string* text = settingText(key)) {
      *text = value.as<std::string>();
    } else {
      return false;
    }
    return true;
  }

  // One segment's inputs by field key: texts as typed, the kind (0..5), the
  // catalogue size and the depth as list indexes.
  val segment(int i) {
    if (!valid(i)) return val::undefined();
    NetworkSegment& s = record_.segments[static_cast<std::size_t>(i)];
    val out = val::object();
    for (const char* key : kSegmentTextKeys) out.set(key, *segmentText(s, key));
    out.set(network_field::kKind, static_cast<int>(s.kind));
    out.set(network_field::kSize, s.sizeIndex);
    out.set(network_field::kDepth, s.depthIndex);
    return out;
  }

  // Stores one input of a segment.  A new kind brings its material's
  // roughness, its depth list's default depth when the list changes, and
  // the catalogue size nearest the diameter the row had, as on the desktop.
  bool setSegment(int i, const std::string& key, val value) {
    if (!valid(i)) return false;
    NetworkSegment& s = record_.segments[static_cast<std::size_t>(i)];
    if (key == network_field::kKind) {
      const auto kind = static_cast<NetworkFacilityKind>(std::clamp(value.as<int>(), 0, 5));
      if (kind == s.kind) return true;
      double previousD = 0.0;
      if (const auto material = MaterialFromKind(static_cast<int>(s.kind)))
        if (const auto size = LookupPipe(*material, s.sizeIndex)) previousD = size->D;
      if (NetworkDepthList(s.kind) != NetworkDepthList(kind)) s.depthIndex = NetworkDefaultDepthIndex(kind);
      s.roughness = NetworkDefaultRoughness(kind);
      s.kind = kind;
      if (const auto material = MaterialFromKind(static_cast<int>(kind))) {
        const auto& sizes = PipeSizes(*material);
        s.sizeIndex = 0;
        for (std::size_t k = 1; k < sizes.size(); ++k) {
          if (std::abs(sizes[k].D - previousD) < std::abs(sizes[static_cast<std::size_t>(s.sizeIndex)].D - previousD))
            s.sizeIndex = static_cast<int>(k);
        }
      }
    } else if (key == network_field::kSize) {
      s.sizeIndex = value.as<int>();
    } else if (key == network_field::kDepth) {
      s.depthIndex = value.as<int>();
    } else if (std::string* text = segmentText(s, key)) {
      *text = IsNumberField(key) ? NormalizeNumberInput(value.as<std::string>()) : value.as<std::string>();
    } else {
      return false;
    }
    return true;
  }

  // The fields typed as numbers (full-width digits taken as half-width).
  static bool IsNumberField(const std::string& key) {
    for (const char* k : {network_field::kLength, network_field::kArea, network_field::kRunoff, network_field::kSewage,
                          network_field::kDiameter, network_field::kWidth, network_field::kHeight,
                          network_field::kSlope, network_field::kRoughness, network_field::kInvert,
                          network_field::kWall, network_field::kGround, network_field::kFixedInvert,
                          network_field::kNodeDrop})
      if (key == k) return true;
    return false;
  }

  // The table, or why not: {ok, refusal {message, row, field}, rows in the
  // record's order {texts (NetworkColumns' order), no}, order, noCount}.
  val compute() {
    const NetworkComputation computed = ComputeNetwork(record_);
    val result = val::object();
    result.set("ok", computed.ok());
    result.set("refusal", computed.ok() ? val::null() : RefusalValue(*computed.refusal));
    val rows = val::array();
    val order = val::array();
    int no = 0;
    if (computed.ok()) {
      for (const NetworkRow& row : computed.table.rows) {
        val one = val::object();
        one.set("texts", StringsValue(NetworkRowTexts(record_, row)));
        one.set("no", row.verdict == Verdict::NO);
        no += row.verdict == Verdict::NO ? 1 : 0;
        rows.call<void>("push", one);
      }
      for (int segment : computed.table.order) order.call<void>("push", segment);
    }
    result.set("rows", rows);
    result.set("order", order);
    result.set("noCount", no);
    return result;
  }

  // The flags the page marks rows by: "1" or "0" per row for NO and for a
  // failed design check (照査), their counts, and whether any node has a
  // ground level (all empty or false for a refused table).
  static void SetRowFlags(val& result, const NetworkComputation& computed) {
    std::string no, failed;
    int noCount = 0, failedCount = 0;
    if (computed.ok()) {
      for (const NetworkRow& row : computed.table.rows) {
        const bool isNo = row.verdict == Verdict::NO, fails = !row.levels.failed.empty();
        no += isNo ? '1' : '0';
        failed += fails ? '1' : '0';
        noCount += isNo ? 1 : 0;
        failedCount += fails ? 1 : 0;
      }
    }
    result.set("no", no);
    result.set("noCount", noCount);
    result.set("failed", failed);
    result.set("failedCount", failedCount);
    result.set("hasLevels", computed.ok() && computed.table.hasLevels);
  }

  // compute() in one text, quicker for a large table: the rows' texts
  // (record order; cells split by U+001F, rows by U+001E), "1" or "0" per
  // row for NO and for a failed design check (照査), whether any node has a
  // ground level, and (when `withProposals`) the sizing proposals of
  // proposalsText().
  val computeText(bool withProposals) {
    const NetworkComputation computed = ComputeNetwork(record_);
    val result = val::object();
    result.set("ok", computed.ok());
    result.set("refusal", computed.ok() ? val::null() : RefusalValue(*computed.refusal));
    std::string texts;
    if (computed.ok()) {
      for (const NetworkRow& row : computed.table.rows) {
        if (&row != &computed.table.rows.front()) texts += '\x1e';
        const std::vector<std::string> cells = NetworkRowTexts(record_, row);
        for (std::size_t c = 0; c < cells.size(); ++c) {
          if (c) texts += '\x1f';
          texts += cells[c];
        }
      }
    }
    result.set("texts", texts);
    SetRowFlags(result, computed);
    result.set("proposals", computed.ok() && withProposals ? val(proposalsText()) : val(std::string()));
    return result;
  }

  // What the page shows after an edit, sent as changes: computeText()'s
  // flags and counts for every row, and in `changed` the rows of the page's
  // window [first, last) whose texts differ from those last sent (each its
  // record index, then its cells, split by U+001F; rows split by U+001E).
  // Rows outside the window are formatted only when they come into view
  // (rowsText), so that an edit in a large table costs the computation and
  // the rows on screen.  A refused table has every row empty.
  val computeChanges(int first, int last) {
    computed_ = ComputeNetwork(record_);
    val result = val::object();
    result.set("ok", computed_.ok());
    result.set("refusal", computed_.ok() ? val::null() : RefusalValue(*computed_.refusal));
    const std::size_t count = record_.segments.size();
    shownTexts_.resize(count, kNotShown);
    std::string changed;
    for (std::size_t r = 0; r < count; ++r) {
      if (static_cast<int>(r) < first || static_cast<int>(r) >= last) shownTexts_[r] = kNotShown;
      else appendRow(r, false, changed);
    }
    result.set("changed", changed);
    SetRowFlags(result, computed_);
    return result;
  }

  // The rows [first, last) of the last computeChanges() that came into the
  // page's view since, as its `changed`.
  std::string rowsText(int first, int last) {
    std::string out;
    for (int r = std::max(first, 0); r < last && r < static_cast<int>(shownTexts_.size()); ++r)
      if (shownTexts_[static_cast<std::size_t>(r)] == kNotShown) appendRow(static_cast<std::size_t>(r), true, out);
    return out;
  }

  // Every segment's 寸法提案, split by U+001E: ">" and the text when the
  // proposal changes the size (it can be applied), else "=" and the text
  // (empty, or why no size passes); the texts are the core's
  // NetworkProposalText.
  std::string proposalsText() {
    const NetworkSizing sizing = ProposeNetworkSizes(record_);
    std::string out;
    for (std::size_t i = 0; i < sizing.proposals.size(); ++i) {
      const NetworkSizeProposal& p = sizing.proposals[i];
      if (i) out += '\x1e';
      out += p.changes() ? '>' : '=';
      out += NetworkProposalText(record_, p);
    }
    return out;
  }

  // ------------------------------------------------ nodes
  // The node grid: every node the segments name (NetworkNodeNames' order)
  // with the levels the record keeps for it.

  // One text: per node (split by U+001E) its name, 地盤高, fixed 管底高 and
  // minimum drop, split by U+001F.
  std::string nodesText() const {
    std::string out;
    bool first = true;
    for (const std::string& name : NetworkNodeNames(record_)) {
      if (!first) out += '\x1e';
      first = false;
      out += name;
      const NetworkNode* node = findNode(name);
      for (const std::string* text : {node ? &node->ground : nullptr, node ? &node->invert : nullptr,
                                      node ? &node->minimumDrop : nullptr}) {
        out += '\x1f';
        if (text) out += *text;
      }
    }
    return out;
  }

  // Stores one level of a node (field ground, fixed_invert or node_drop),
  // half-width.  A node takes its row in the record when it first gets a
  // level, placed among the others in the grid's order; a row left with no
  // level goes, so that a table without levels stays as it was.
  bool setNode(const std::string& name, const std::string& key, const std::string& text) {
    if (name.empty()) return false;
    const auto it = std::find_if(record_.nodes.begin(), record_.nodes.end(),
                                 [&](const NetworkNode& n) { return n.name == name; });
    const int index = it == record_.nodes.end() ? -1 : static_cast<int>(it - record_.nodes.begin());
    return SetNetworkNodeLevel(record_, index, name, key, NormalizeNumberInput(text));
  }

  // ------------------------------------------------ profile (縦断図)

  // The head nodes a profile can start from and the head of the longest
  // path: {ok, message, heads, longest}.
  val profileHeads() const {
    const NetworkComputation computed = ComputeNetwork(record_);
    val out = val::object();
    out.set("ok", computed.ok());
    out.set("message", computed.ok() ? std::string() : computed.refusal->message);
    out.set("heads", StringsValue(computed.ok() ? drawing::ProfileHeads(record_, computed.table)
                                                : std::vector<std::string>()));
    out.set("longest", computed.ok() ? drawing::LongestPathHead(record_, computed.table) : std::string());
    return out;
  }

  // Draws the profile from `from` (empty: the longest path) at the scales
  // (denominators) on A3 or A4 landscape, with `date` in the title block:
  // {ok, message (the refusal, or "起点 → 終点　延長 … m　n 枚"), svg (every
  // sheet in one document, as the desktop writes it), sheets (one SVG per
  // sheet)}.  The drawing is kept for profileDxf().
  val drawProfile(const std::string& from, int horizontal, int vertical, bool a4, const std::string& date) {
    profile_ = {};
    const NetworkComputation computed = ComputeNetwork(record_);
    if (!computed.ok()) return Failure(computed.refusal->message);
    const drawing::ProfilePathResult path = drawing::ProfilePathFrom(record_, computed.table, from);
    if (!path.ok()) return Failure(*path.refusal);
    drawing::ProfileOptions options;
    options.sheet = drawing::SheetSizeMm(a4 ? drawing::SheetSize::A4 : drawing::SheetSize::A3);
    options.horizontal = horizontal;
    options.vertical = vertical;
    options.date = date;
    drawing::ProfileDrawing drawn = drawing::DrawProfile(path.path, options);
    if (!drawn.ok()) return Failure(*drawn.refusal);
    profile_ = std::move(drawn.sheets);
    const drawing::ProfilePath& p = path.path;
    char length[64];
    std::snprintf(length, sizeof length, "%.2f", p.nodes.back().station);
    val out = val::object();
    out.set("ok", true);
    out.set("message", p.nodes.front().name + " → " + p.nodes.back().name + "　延長 " + length + " m　" +
                           std::to_string(profile_.size()) + " 枚");
    out.set("svg", drawing::WriteSvg(profile_));
    val sheets = val::array();
    for (const drawing::Sheet& sheet : profile_) sheets.call<void>("push", drawing::WriteSvg({sheet}));
    out.set("sheets", sheets);
    return out;
  }

  // The last drawn profile as DXF bytes (texts in CP932): {ok, bytes} or
  // the refusal naming a text CP932 cannot hold.
  val profileDxf() const {
    if (profile_.empty()) return Failure("縦断図がありません。");
    const drawing::DxfFile dxf = drawing::WriteDxf(profile_, [](std::string_view utf8, std::string* bad) {
      return EncodeCp932(std::string(utf8), bad);
    });
    if (!dxf.ok()) return Failure(*dxf.refusal);
    val out = val::object();
    out.set("ok", true);
    out.set("bytes", BytesOf(dxf.bytes));
    return out;
  }

  // Every segment's inputs in one text (rows split by U+001E): the text
  // fields in inputKeys()' order, then the kind, size and depth indexes,
  // split by U+001F.
  std::string inputsText() {
    std::string out;
    for (std::size_t r = 0; r < record_.segments.size(); ++r) {
      NetworkSegment& s = record_.segments[r];
      if (r) out += '\x1e';
      for (const char* key : kSegmentTextKeys) {
        out += *segmentText(s, key);
        out += '\x1f';
      }
      out += std::to_string(static_cast<int>(s.kind)) + '\x1f' + std::to_string(s.sizeIndex) + '\x1f' +
             std::to_string(s.depthIndex);
    }
    return out;
  }
  static val inputKeys() {
    val keys = val::array();
    for (const char* key : kSegmentTextKeys) keys.call<void>("push", std::string(key));
    for (const char* key : {network_field::kKind, network_field::kSize, network_field::kDepth})
      keys.call<void>("push", std::string(key));
    return keys;
  }

  void newTable() { record_ = NetworkRecord{}; }

  // Undo and redo over the table's states (the core's history, sharing
  // unchanged segments between states); commit after every edit.
  // Consecutive edits with the same non-empty key (typing into one cell)
  // make one step: the step is taken back and taken again with the record
  // as it is now.
  bool commit(const std::string& key) {
    if (record_ == history_.current()) return false;
    if (!key.empty() && key == lastKey_ && history_.canUndo() && !history_.canRedo()) history_.undo();
    history_.push(record_);
    lastKey_ = key;
    return true;
  }
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  bool undo() {
    if (!history_.canUndo()) return false;
    record_ = history_.undo();
    lastKey_.clear();
    return true;
  }
  bool redo() {
    if (!history_.canRedo()) return false;
    record_ = history_.redo();
    lastKey_.clear();
    return true;
  }
  void resetHistory() {
    history_.reset(record_);
    lastKey_.clear();
  }

  // ------------------------------------------------ files
  // The .mkt and CSV layouts of the core: the same bytes as the desktop's,
  // the same refusals.

  std::string fileText() const { return NetworkFileText(record_); }
  val fileBytes() const { return BytesOf(NetworkFileText(record_)); }

  // Open: the file's bytes; {ok, message} (the record unchanged when refused).
  val openFile(const std::string& bytes) {
    NetworkLinesRead read = ParseNetworkFileText(bytes);
    if (!read.ok()) return Failure(read.error);
    record_ = std::move(read.record);
    val out = val::object();
    out.set("ok", true);
    return out;
  }

  // CSV出力: the segment rows as CP932 bytes, or the refusal naming the
  // character and its cell.
  val csvBytes() const {
    const NetworkCsvBytes csv = EncodeNetworkCsv(NetworkInputCsvTable(record_.segments),
                                                 [](std::string_view utf8, std::string* bad) {
                                                   return EncodeCp932(std::string(utf8), bad);
                                                 });
    if (!csv.ok()) return Failure(csv.error);
    val out = val::object();
    out.set("ok", true);
    out.set("bytes", BytesOf(csv.bytes));
    return out;
  }

  // CSV読込: the file's bytes decoded by `decode` (the browser's Shift_JIS
  // decoder) into the desktop's characters; the segment rows replace the
  // table's.  {ok, message}.
  val importCsv(const std::string& bytes, val decode) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::string text =
        DesktopDecodedForm(decode(val(emscripten::typed_memory_view(bytes.size(), data))).as<std::string>());
    NetworkCsvRows rows = ParseNetworkCsvText(text);
    if (!rows.ok()) return Failure(rows.error);
    record_.segments = std::move(rows.segments);
    val out = val::object();
    out.set("ok", true);
    return out;
  }


  // ------------------------------------------------ spreadsheet edits
  // Cells by (segment, column index into NetworkColumns()), as the core's
  // record edits address them.

  // A block pasted from a spreadsheet (tab-separated) with its first cell at
  // (row, column): {ok, message, row, column (the refused cell), addedRows}.
  val paste(int row, int column, const std::string& tsv) {
    const NetworkPasteResult result = PasteBlock(record_, row, column, tsv);
    val out = val::object();
    out.set("ok", result.ok());
    out.set("message", result.ok() ? std::string() : result.refusal->message);
    out.set("row", result.ok() ? result.range.top : result.refusal->row);
    out.set("column", result.ok() ? result.range.left : result.refusal->column);
    out.set("rows", result.rows);
    out.set("columns", result.columns);
    out.set("addedRows", result.addedRows);
    return out;
  }
  std::string copy(int top, int left, int bottom, int right) {
    return CopyBlock(record_, NetworkCellRange{top, left, bottom, right});
  }
  bool clear(int top, int left, int bottom, int right) {
    return ClearCells(record_, NetworkCellRange{top, left, bottom, right});
  }
  bool fillDown(int top, int left, int bottom, int right) {
    return FillDown(record_, NetworkCellRange{top, left, bottom, right});
  }
  int insertAfter(int row) { return InsertSegmentAfter(record_, row); }

  const NetworkRecord& record() const { return record_; }

  // The sizing proposal of every segment (record order): null where the
  // segment gets none (not a catalogue pipe), else {changes, size (the
  // proposed size's name, null when no size passes)}; or the refusal.
  val sizing() {
    const NetworkSizing sizing = ProposeNetworkSizes(record_);
    val result = val::object();
    result.set("refusal", sizing.refusal ? RefusalValue(*sizing.refusal) : val::null());
    val proposals = val::array();
    for (const NetworkSizeProposal& p : sizing.proposals) {
      if (!p.catalogue) {
        proposals.call<void>("push", val::null());
        continue;
      }
      val one = val::object();
      one.set("changes", p.changes());
      std::optional<CatalogueSize> size;
      const auto material = MaterialFromKind(static_cast<int>(record_.segments[static_cast<std::size_t>(p.segment)].kind));
      if (material && p.proposedSize) size = LookupPipe(*material, *p.proposedSize);
      one.set("size", size ? val(size->storedName) : val::null());
      proposals.call<void>("push", one);
    }
    result.set("proposals", proposals);
    return result;
  }

  // Applies the proposals (all, or one segment's); false when the table
  // cannot be computed.
  bool applySizing(int segment) {
    const NetworkSizing sizing = ProposeNetworkSizes(record_);
    if (sizing.refusal) return false;
    ApplySizeProposals(record_, sizing, segment);
    return true;
  }

 private:
  static constexpr const char* kSegmentTextKeys[] = {
      network_field::kName,  network_field::kUpstream,     network_field::kDownstream, network_field::kLength,
      network_field::kArea,  network_field::kRunoff,       network_field::kSewage,     network_field::kFacilityName,
      network_field::kDiameter, network_field::kWidth,     network_field::kHeight,     network_field::kSlope,
      network_field::kRoughness, network_field::kInvert,   network_field::kWall};

  bool valid(int i) const { return i >= 0 && i < size(); }

  // Row r's texts of the last computation, appended to `out` (as
  // computeChanges' `changed`) when they differ from those last sent, or
  // always (`always`).
  void appendRow(std::size_t r, bool always, std::string& out) {
    std::string texts;
    if (computed_.ok() && r < computed_.table.rows.size() && r < record_.segments.size()) {
      const std::vector<std::string> cells = NetworkRowTexts(record_, computed_.table.rows[r]);
      for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c) texts += '\x1f';
        texts += cells[c];
      }
    }
    if (!always && texts == shownTexts_[r]) return;
    if (!out.empty()) out += '\x1e';
    out += std::to_string(r) + '\x1f' + texts;
    shownTexts_[r] = std::move(texts);
  }

  const NetworkNode* findNode(const std::string& name) const {
    for (const NetworkNode& node : record_.nodes)
      if (node.name == name) return &node;
    return nullptr;
  }

  std::string* settingText(const std::string& key) { return NetworkSettingText(record_.settings, key); }

  static std::string* segmentText(NetworkSegment& s, const std::string& key) {
    if (key == network_field::kFacilityName) return &s.facilityName;
    if (key == network_field::kDiameter) return &s.D;
    if (key == network_field::kWidth) return &s.B;
    if (key == network_field::kHeight) return &s.H;
    return NetworkSegmentText(s, key);
  }

  val RefusalValue(const NetworkRefusal& refusal) const {
    val out = val::object();
    out.set("message", refusal.message);
    out.set("row", refusal.segment);
    out.set("field", refusal.field);
    // A node's level: the node by name (the grid's row).
    const bool node = refusal.node >= 0 && refusal.node < static_cast<int>(record_.nodes.size());
    out.set("node", node ? val(record_.nodes[static_cast<std::size_t>(refusal.node)].name) : val::null());
    return out;
  }

  NetworkRecord record_;
  std::vector<drawing::Sheet> profile_;  // the last drawn profile
  // What the page was last sent per row; kNotShown for a row out of view.
  static inline const std::string kNotShown = std::string(1, '\x01');
  std::vector<std::string> shownTexts_;
  NetworkComputation computed_;  // the last computeChanges()
  NetworkHistory history_;
  std::string lastKey_;
};

// 区間を開く: the computed row `row` (record order) of the table as the
// single-facility project, which replaces `project`'s record; false (and
// nothing changed) when the table cannot be computed.
bool OpenNetworkRow(WebNetwork& network, int row, WebProject& project) {
  const NetworkComputation computed = ComputeNetwork(network.record());
  if (!computed.ok() || row < 0 || row >= static_cast<int>(computed.table.rows.size())) return false;
  project.replace(SingleFacilityProject(network.record(), computed.table.rows[static_cast<std::size_t>(row)]));
  return true;
}

// The table's columns: {caption, field (null for a computed column)}.
val NetworkColumnsValue() {
  val array = val::array();
  for (const NetworkColumn& column : NetworkColumns()) {
    val one = val::object();
    one.set("caption", std::string(column.caption));
    one.set("field", column.field ? val(std::string(column.field)) : val::null());
    array.call<void>("push", one);
  }
  return array;
}

// A network segment kind's lists: the catalogue sizes as the table names
// them ("VP - φ200"; none for the other kinds) and the depth entries.
val NetworkSizeNames(int kind) {
  val array = val::array();
  if (const auto material = MaterialFromKind(kind))
    for (const CatalogueSize& size : PipeSizes(*material)) array.call<void>("push", size.storedName);
  return array;
}
val NetworkDepthChoices(int kind) {
  val array = val::array();
  const auto k = static_cast<NetworkFacilityKind>(std::clamp(kind, 0, 5));
  for (const DepthChoice& choice : DepthChoiceList(NetworkDepthList(k))) array.call<void>("push", choice.text);
  return array;
}

// ------------------------------------------------------------ catalogues

val PipeSizeLabels(int kind) {
  val array = val::array();
  const std::vector<CatalogueSize>* sizes = nullptr;
  if (kind == 5) sizes = &UTroughSizes();
  else if (const auto material = MaterialFromKind(kind)) sizes = &PipeSizes(*material);
  if (sizes) {
    for (const CatalogueSize& size : *sizes) array.call<void>("push", size.label);
  }
  return array;
}

// 0 circular, 1 rectangular, 2 open channel.
val DepthChoices(int kind) {
  val array = val::array();
  for (const DepthChoice& choice : DepthChoiceList(static_cast<DepthListKind>(kind)))
    array.call<void>("push", choice.text);
  return array;
}

std::string MaterialCaptionOf(int kind) {
  const auto material = MaterialFromKind(kind);
  return material ? MaterialCaption(*material) : std::string(kind == 5 ? kUTroughCaption : "");
}

val LandUses() {
  val array = val::array();
  for (const LandUseChoice& choice : LandUseCatalogue()) {
    val one = val::object();
    one.set("control", std::string(choice.control));
    one.set("caption", std::string(choice.caption));
    one.set("reference", std::string(choice.reference));
    array.call<void>("push", one);
  }
  return array;
}

std::string FormatNumberText(double value, const std::string& pattern) { return FormatNumber(value, pattern); }

std::string NoLevelsNotice() { return kNoLevelsNotice; }
val ProfileHorizontalScales() {
  val array = val::array();
  for (int d : drawing::HorizontalScales()) array.call<void>("push", d);
  return array;
}
val ProfileVerticalScales() {
  val array = val::array();
  for (int d : drawing::VerticalScales()) array.call<void>("push", d);
  return array;
}

}  // namespace mk

EMSCRIPTEN_BINDINGS(mirukana) {
  using namespace emscripten;
  class_<mk::WebProject>("Project")
      .constructor<>()
      .function("newProject", &mk::WebProject::newProject)
      .function("openBytes", &mk::WebProject::openBytes)
      .function("get", &mk::WebProject::get)
      .function("set", &mk::WebProject::set)
      .function("discardRunResult", &mk::WebProject::discardRunResult)
      .function("resetScreen", &mk::WebProject::resetScreen)
      .function("chooseMainFacility", &mk::WebProject::chooseMainFacility)
      .function("chooseFlowTimeKind", &mk::WebProject::chooseFlowTimeKind)
      .function("discardFlowTimeVelocity", &mk::WebProject::discardFlowTimeVelocity)
      .function("chooseIntensityFormula", &mk::WebProject::chooseIntensityFormula)
      .function("chosenIntensityFormula", &mk::WebProject::chosenIntensityFormula)
      .function("isRiverCourseMode", &mk::WebProject::isRiverCourseMode)
      .function("chooseSewageClass", &mk::WebProject::chooseSewageClass)
      .function("beginSewageCalculation", &mk::WebProject::beginSewageCalculation)
      .function("switchSewageToDirect", &mk::WebProject::switchSewageToDirect)
      .function("toggleLandUse", &mk::WebProject::toggleLandUse)
      .function("acceptRunoff", &mk::WebProject::acceptRunoff)
      .function("acceptSewage", &mk::WebProject::acceptSewage)
      .function("acceptInflowTime", &mk::WebProject::acceptInflowTime)
      .function("validateRiverCourse", &mk::WebProject::validateRiverCourse)
      .function("acceptIntensity", &mk::WebProject::acceptIntensity)
      .function("flowTimeVelocity", &mk::WebProject::flowTimeVelocity)
      .function("flowTimeVelocityFailure", &mk::WebProject::flowTimeVelocityFailure)
      .function("channelOutline", &mk::WebProject::channelOutline)
      .function("checkRun", &mk::WebProject::checkRun)
      .function("reportLines", &mk::WebProject::reportLines)
      .function("reportPages", &mk::WebProject::reportPages)
      .function("reportFileBytes", &mk::WebProject::reportFileBytes)
      .function("projectFileLines", &mk::WebProject::projectFileLines)
      .function("projectFileBytes", &mk::WebProject::projectFileBytes)
      .function("sizeTable", &mk::WebProject::sizeTable)
      .function("openLines", &mk::WebProject::openLines)
      .function("commit", &mk::WebProject::commit)
      .function("canUndo", &mk::WebProject::canUndo)
      .function("canRedo", &mk::WebProject::canRedo)
      .function("undo", &mk::WebProject::undo)
      .function("redo", &mk::WebProject::redo)
      .function("resetHistory", &mk::WebProject::resetHistory);
  class_<mk::WebNetwork>("Network")
      .constructor<>()
      .function("size", &mk::WebNetwork::size)
      .function("addSegment", &mk::WebNetwork::addSegment)
      .function("removeSegment", &mk::WebNetwork::removeSegment)
      .function("setting", &mk::WebNetwork::setting)
      .function("setSetting", &mk::WebNetwork::setSetting)
      .function("segment", &mk::WebNetwork::segment)
      .function("setSegment", &mk::WebNetwork::setSegment)
      .function("compute", &mk::WebNetwork::compute)
      .function("sizing", &mk::WebNetwork::sizing)
      .function("applySizing", &mk::WebNetwork::applySizing)
      .function("computeText", &mk::WebNetwork::computeText)
      .function("computeChanges", &mk::WebNetwork::computeChanges)
      .function("rowsText", &mk::WebNetwork::rowsText)
      .function("proposalsText", &mk::WebNetwork::proposalsText)
      .function("inputsText", &mk::WebNetwork::inputsText)
      .class_function("inputKeys", &mk::WebNetwork::inputKeys)
      .function("newTable", &mk::WebNetwork::newTable)
      .function("commit", &mk::WebNetwork::commit)
      .function("canUndo", &mk::WebNetwork::canUndo)
      .function("canRedo", &mk::WebNetwork::canRedo)
      .function("undo", &mk::WebNetwork::undo)
      .function("redo", &mk::WebNetwork::redo)
      .function("resetHistory", &mk::WebNetwork::resetHistory)
      .function("fileText", &mk::WebNetwork::fileText)
      .function("fileBytes", &mk::WebNetwork::fileBytes)
      .function("openFile", &mk::WebNetwork::openFile)
      .function("csvBytes", &mk::WebNetwork::csvBytes)
      .function("importCsv", &mk::WebNetwork::importCsv)
      .function("paste", &mk::WebNetwork::paste)
      .function("copy", &mk::WebNetwork::copy)
      .function("clear", &mk::WebNetwork::clear)
      .function("fillDown", &mk::WebNetwork::fillDown)
      .function("insertAfter", &mk::WebNetwork::insertAfter)
      .function("nodesText", &mk::WebNetwork::nodesText)
      .function("setNode", &mk::WebNetwork::setNode)
      .function("profileHeads", &mk::WebNetwork::profileHeads)
      .function("drawProfile", &mk::WebNetwork::drawProfile)
      .function("profileDxf", &mk::WebNetwork::profileDxf)
      .class_function("isNumberField", &mk::WebNetwork::IsNumberField);
  function("openNetworkRow", &mk::OpenNetworkRow);
  function("normalizeNumberInput", &mk::NormalizeNumberInput);
  function("networkColumns", &mk::NetworkColumnsValue);
  function("networkSizeNames", &mk::NetworkSizeNames);
  function("networkDepthChoices", &mk::NetworkDepthChoices);
  function("decoderMismatches", &mk::DecoderMismatches);
  function("pipeSizeLabels", &mk::PipeSizeLabels);
  function("depthChoices", &mk::DepthChoices);
  function("materialCaption", &mk::MaterialCaptionOf);
  function("landUses", &mk::LandUses);
  function("formatNumber", &mk::FormatNumberText);
  function("noLevelsNotice", &mk::NoLevelsNotice);
  function("profileHorizontalScales", &mk::ProfileHorizontalScales);
  function("profileVerticalScales", &mk::ProfileVerticalScales);
}
