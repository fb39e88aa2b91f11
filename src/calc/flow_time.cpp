#include "calc/flow_time.h"

#include <cmath>
#include <optional>
#include <string>

#include "calc/catalogue.h"
#include "calc/hydraulics.h"
#include "calc/sections.h"
#include "model/number_text.h"

namespace mk {

namespace {

// Form17's list: 0..3 catalogue pipes, 4 other circular pipe, 5 U-trough,
// 6 U or trapezoid ditch, 7 irregular channel.
constexpr int kOtherCircularKind = 4;
constexpr int kUTroughKind = 5;
constexpr int kDitchKind = 6;
constexpr int kIrregularKind = 7;

const char* const kNoFormula = "流速の計算方法を選択してください。";
const char* const kNoKind = "施設の種類を選択してください。";
const char* const kNoSlope = "施設の勾配を入力してください。";
const char* const kNoRoughness = "粗度係数を入力してください。";

std::optional<VelocityFormula> ChosenFormula(const FlowTimeFacilityInputs& in) {
  if (in.opt1) return VelocityFormula::Manning;
  if (in.opt2) return VelocityFormula::Kutter;
  return std::nullopt;
}

// What one computation produces.  "計算" stores it only when V was computed;
// Open stores whatever part of it could be computed.
struct FlowTimeComputation {
  FacilitySection section;
  double x = 0.0;  // slope, per mille
  double n = 0.0;  // roughness
  // Focus for a capacity failure caused by the section (a dimension box).
  std::string sectionFocus;
  std::string slopeFocus;
  std::string roughnessFocus;

  // Reads the slope and roughness boxes (leading-number parse) and notes
  // their controls.
  void readSlopeAndRoughness(const std::string& slope, std::string slopeBox, const std::string& roughness,
                             std::string roughnessBox) {
    x = ParseLeadingNumber(slope);
    n = ParseLeadingNumber(roughness);
    slopeFocus = std::move(slopeBox);
    roughnessFocus = std::move(roughnessBox);
  }

  // The two zero checks that every list of checks has after the section's
  // own: a blank box reads as 0, and 0 counts as missing.
  std::optional<CalcError> checkSlopeAndRoughness() const {
    if (x == 0.0) return CalcError{kNoSlope, slopeFocus};
    if (n == 0.0) return CalcError{kNoRoughness, roughnessFocus};
    return std::nullopt;
  }
};

// The member of the depth entry; an empty entry or a separator is no choice
// and gives the screen's message.
Outcome<DepthRatio> ChosenDepth(DepthListKind kind, int index, const char* message, const char* focus) {
  if (const std::optional<DepthRatio> depth = DepthChoiceMember(kind, index)) return *depth;
  return CalcError{message, focus};
}

// The section part of each screen, with or without the screen's checks.
// `checked` selects the screen's validations; without them (Open) whatever
// cannot be computed is left at zero, and the returned CalcError tells the
// caller that the section is missing.
std::optional<CalcError> CatalogueSection(const FlowTimeFacilityInputs& in, bool checked,
                                          FlowTimeComputation& c) {
  const CatalogueFacilityInputs& f = in.form18;
  c.readSlopeAndRoughness(f.txt1, "Form18.txt1", f.txt2, "Form18.txt2");
  c.sectionFocus = "Form18.lst_pu";
  const bool trough = in.lst_s == kUTroughKind;
  const Outcome<DepthRatio> depth =
      ChosenDepth(trough ? DepthListKind::OpenChannel : DepthListKind::Circular, f.cbo1,
                  "施設有効水深の割合を入力してください。", "Form18.cbo1");
  if (checked) {
    if (std::optional<CalcError> failure = c.checkSlopeAndRoughness()) return failure;
    if (!depth) return depth.error();
  }
  const std::optional<CatalogueSize> size =
      trough ? LookupUTrough(f.lst_pu) : LookupPipe(*MaterialFromKind(in.lst_s), f.lst_pu);
  // The size list always has a selection on the screen; a project file can
  // still carry an index outside the list.
  if (!size) return CalcError{"施設の寸法を選択してください。", "Form18.lst_pu"};
  c.section.name = size->storedName;
  if (trough) {
    c.section.B = size->D;
    c.section.H = size->D;
  } else {
    c.section.D = size->D;
  }
  if (!depth) return depth.error();
  c.section.depthCode = DepthCode(*depth);
  c.section.geometry = trough ? RectangularSection(size->D, size->D, DepthCode(*depth), false)
                              : CircularSection(size->D, *depth);
  return std::nullopt;
}

std::optional<CalcError> OtherCircularSection(const FlowTimeFacilityInputs& in, bool checked,
                                              FlowTimeComputation& c) {
  const OtherCircularInputs& f = in.form20;
  c.section.name = f.txt_m;
  c.section.D = ParseLeadingNumber(f.txt1);
  c.readSlopeAndRoughness(f.txt2, "Form20.txt2", f.txt3, "Form20.txt3");
  c.sectionFocus = "Form20.txt1";
  if (checked) {
    if (c.section.D == 0.0) return CalcError{"直径を入力してください。", "Form20.txt1"};
    if (std::optional<CalcError> failure = c.checkSlopeAndRoughness()) return failure;
  }
  // This screen words the depth message with "の", as the main check's Form5.
  const Outcome<DepthRatio> depth = ChosenDepth(DepthListKind::Circular, f.cbo1,
                                                "施設の有効水深の割合を入力してください。", "Form20.cbo1");
  if (!depth) return depth.error();
  c.section.depthCode = DepthCode(*depth);
  c.section.geometry = CircularSection(c.section.D, *depth);
  return std::nullopt;
}

std::optional<CalcError> DitchSection(const FlowTimeFacilityInputs& in, bool checked,
                                      FlowTimeComputation& c) {
  const DitchInputs& f = in.form19;
  c.section.name = f.txt_m;
  c.section.h = ParseLeadingNumber(f.txt1);
  c.section.b1 = ParseLeadingNumber(f.txt2);
  c.section.b2 = ParseLeadingNumber(f.txt3);
  c.section.b3 = ParseLeadingNumber(f.txt4);
  c.readSlopeAndRoughness(f.txt5, "Form19.txt5", f.txt6, "Form19.txt6");
  c.sectionFocus = "Form19.txt1";
  if (checked) {
    if (c.section.h == 0.0) return CalcError{"施設の高さを入力してください。", "Form19.txt1"};
    // Widths are checked for an empty box only: a bottom width or a wall
    // run of 0 is a real shape (V-shaped ditch, vertical wall).
    if (IsEmptyText(f.txt2)) return CalcError{"施設の下部巾を入力してください。", "Form19.txt2"};
    if (IsEmptyText(f.txt3)) return CalcError{"施設の上部巾を入力してください。", "Form19.txt3"};
    if (IsEmptyText(f.txt4)) return CalcError{"施設の傾斜巾を入力してください。", "Form19.txt4"};
    if (std::optional<CalcError> failure = c.checkSlopeAndRoughness()) return failure;
  }
  const Outcome<DepthRatio> depth = ChosenDepth(DepthListKind::OpenChannel, f.cbo1,
                                                "施設有効水深の割合を入力してください。", "Form19.cbo1");
  if (!depth) return depth.error();
  c.section.depthCode = DepthCode(*depth);
  c.section.geometry =
      TrapezoidSection(c.section.h, c.section.b1, c.section.b2, c.section.b3, c.section.depthCode);
  return std::nullopt;
}

std::optional<CalcError> IrregularSection(const FlowTimeFacilityInputs& in, bool checked,
                                          FlowTimeComputation& c) {
  const IrregularChannelInputs& f = in.form21;
  // Bottom width, top width and height only describe the channel (the
  // report's heading); they are kept in b1, b2 and h.
  c.section.name = f.txt_m;
  c.section.b1 = ParseLeadingNumber(f.txt1);
  c.section.b2 = ParseLeadingNumber(f.txt2);
  c.section.h = ParseLeadingNumber(f.txt3);
  c.readSlopeAndRoughness(f.txt4, "Form21.txt4", f.txt5, "Form21.txt5");
  c.sectionFocus = "Form21.txt_x1";
  if (checked) {
    // Empty boxes only: a typed 0 passes here and is refused by the section
    // or the velocity computation.
    struct Required {
      const std::string* text;
      const char* message;
      const char* focus;
    };
    const Required required[] = {
        {&f.txt1, "排水溝の下部巾を入力してください。", "Form21.txt1"},
        {&f.txt2, "排水溝の上部巾を入力してください。", "Form21.txt2"},
        {&f.txt3, "排水溝の高さを入力してください。", "Form21.txt3"},
        {&f.txt_x[0], "頂点のＸ0座標を入力してください。", "Form21.txt_x1"},
        {&f.txt_y[0], "頂点のＹ0座標を入力してください。", "Form21.txt_y1"},
        {&f.txt_x[1], "頂点のＸ1座標を入力してください。", "Form21.txt_x2"},
        {&f.txt_y[1], "頂点のＹ1座標を入力してください。", "Form21.txt_y2"},
        {&f.txt_x[2], "頂点のＸ2座標を入力してください。", "Form21.txt_x3"},
        {&f.txt_y[2], "頂点のＹ2座標を入力してください。", "Form21.txt_y3"},
        {&f.txt4, "排水溝の勾配を入力してください。", "Form21.txt4"},
        {&f.txt5, kNoRoughness, "Form21.txt5"},
    };
    for (const Required& r : required)
      if (IsEmptyText(*r.text)) return CalcError{r.message, r.focus};
  }
  c.section.vertexCount = PolygonVertexCount(f.txt_x);
  Outcome<PolygonResult> polygon = PolygonSection(f.txt_x, f.txt_y);
  if (!polygon) {
    CalcError error = polygon.error();
    // Focus the first empty X box when the table has a gap, else vertex 0.
    error.focus = "Form21.txt_x1";
    for (size_t i = 0; i < f.txt_x.size(); ++i) {
      if (IsEmptyText(f.txt_x[i])) {
        if (c.section.vertexCount == 0 && i >= 3) error.focus = "Form21.txt_x" + std::to_string(i + 1);
        break;
      }
    }
    return error;
  }
  // The outline is drawn at a scale set by the largest coordinate; without a
  // positive one there is no drawing and no computation.
  Outcome<double> scale = PolygonDrawingScale(f.txt_x, f.txt_y);
  if (!scale) return CalcError{scale.error().message, "Form21.txt_x1"};
  c.section.vertexCount = polygon->N;
  c.section.geometry = polygon->geometry;
  return std::nullopt;
}

// Fills `c` as far as the inputs allow: the facility's name, dimensions,
// slope and roughness first, the depth code and the section last.  Returns
// the first reason the section could not be computed (with `checked`, the
// screen's own checks come first).
std::optional<CalcError> ComputeSection(const FlowTimeFacilityInputs& in, bool checked,
                                        FlowTimeComputation& c) {
  if (MaterialFromKind(in.lst_s) || in.lst_s == kUTroughKind) return CatalogueSection(in, checked, c);
  if (in.lst_s == kOtherCircularKind) return OtherCircularSection(in, checked, c);
  if (in.lst_s == kDitchKind) return DitchSection(in, checked, c);
  if (in.lst_s == kIrregularKind) return IrregularSection(in, checked, c);
  return CalcError{kNoKind, "Form17.lst_s"};
}

// The control to focus when ComputeCapacity refuses the numbers; it checks
// area, perimeter, slope and roughness in that order.
std::string CapacityFailureFocus(const FlowTimeComputation& c) {
  const SectionGeometry& g = c.section.geometry;
  if (!(g.A > 0.0) || !(g.P > 0.0) || !std::isfinite(g.A) || !std::isfinite(g.P))
    return c.sectionFocus;
  if (!(c.x > 0.0)) return c.slopeFocus;
  if (!(c.n > 0.0)) return c.roughnessFocus;
  return c.sectionFocus;
}

void StoreFlowTime(ProjectRecord& record, const FlowTimeComputation& c,
                   const CapacityResult& capacity) {
  record.derived.flowTimeSection = c.section;
  record.derived.flowTimeCapacity = capacity;
  record.derived.flowTimeCapacity.Q2 = 0.0;  // the flow-time path has no capacity
  record.derived.flowTimeSlope = c.x;
  record.derived.flowTimeRoughness = c.n;
}

double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

}  // namespace

int FlowTimeScreenCodeForKind(int kind) {
  switch (kind) {
    case 0:
    case 1:
    case 2:
    case 3:
    case kUTroughKind:
      return 1;
    case kDitchKind: return 2;
    case kOtherCircularKind: return 3;
    case kIrregularKind: return 4;
    default: return 0;
  }
}

Outcome<double> RunFlowTimeVelocity(ProjectRecord& record, const std::function<void()>& sectionDone) {
  const FlowTimeFacilityInputs& in = record.flowTime;
  const std::optional<VelocityFormula> formula = ChosenFormula(in);
  if (!formula) return CalcError{kNoFormula, "Form17.opt1"};
  if (FlowTimeScreenCodeForKind(in.lst_s) == 0) return CalcError{kNoKind, "Form17.lst_s"};

  FlowTimeComputation c;
  if (std::optional<CalcError> failure = ComputeSection(in, true, c)) return *failure;
  if (sectionDone) sectionDone();

  Outcome<CapacityResult> capacity = ComputeCapacity(c.section.geometry, c.x, c.n, *formula);
  if (!capacity) return CalcError{capacity.error().message, CapacityFailureFocus(c)};

  StoreFlowTime(record, c, capacity.value());
  return capacity->V;
}

void RecomputeFlowTimeVelocity(ProjectRecord& record) {
  const FlowTimeFacilityInputs& in = record.flowTime;
  // What cannot be computed stays 0; what the inputs still say (name,
  // dimensions, slope, roughness) is kept so the record describes the facility.
  FlowTimeComputation c;
  CapacityResult capacity;
  const std::optional<VelocityFormula> formula = ChosenFormula(in);
  if (!ComputeSection(in, false, c) && formula) {
    Outcome<CapacityResult> result = ComputeCapacity(c.section.geometry, c.x, c.n, *formula);
    if (result) capacity = result.value();
  }

  // Whatever the file held, no broken number reaches the record.
  FacilitySection& s = c.section;
  for (double* v : {&s.D, &s.B, &s.H, &s.b1, &s.b2, &s.b3, &s.h, &s.depthCode, &s.geometry.A,
                    &s.geometry.P, &c.x, &c.n})
    *v = Finite(*v);
  for (double* v : {&capacity.R, &capacity.I, &capacity.V, &capacity.Q2, &capacity.kutterNumerator,
                    &capacity.kutterDenominator, &capacity.kutterRootRI})
    *v = Finite(*v);
  StoreFlowTime(record, c, capacity);
}

}  // namespace mk
