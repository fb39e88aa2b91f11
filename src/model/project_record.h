#pragma once
// ProjectRecord: every input, choice and result of the one open project.
//
// Groups mirror the screens.  Inputs are held exactly as their screen shows
// them (text as typed, options as bools, checks and list indexes as ints);
// the numbers a calculation needs are read from the text by
// ParseLeadingNumber when they are used.  The default member values are the
// state after New.  Field order inside each group is the project file order.

#include <array>
#include <string>

#include "model/hydraulic_types.h"

namespace mk {

// ---------------------------------------------------------------- inputs

// Form25, the main input screen.
struct MainScreenInputs {
  std::string txt_c;  // runoff coefficient C
  std::string txt_a;  // catchment area, m2
  std::string txt_i;  // rainfall intensity, mm/hr
  int lst_s = 0;      // facility kind: 0 VP, 1 VU, 2 FRPM, 3 Hume, 4 other circular, 5 rectangular
  bool opt1 = true;   // Manning
  bool opt2 = false;  // Kutter
  bool opt3 = true;   // I typed
  bool opt4 = false;  // I calculated (Form12)
  bool opt5 = true;   // C typed
  bool opt6 = false;  // C weighted by land use (Form16)
  bool opt7 = true;   // sewage calculated (Form28)
  bool opt8 = false;  // sewage typed
  bool opt9 = true;   // groundwater none
  bool opt10 = false; // groundwater applies
  bool opt11 = true;  // surcharge none
  bool opt12 = false; // surcharge applies
  std::string txt1;   // surcharge %
  std::string txt2;   // groundwater %
  std::string txt3;   // planned sewage flow, m3/sec

  bool operator==(const MainScreenInputs&) const = default;
};

// Form2 (main check) and Form18 (flow time): catalogue pipe or U-trough.
struct CatalogueFacilityInputs {
  int lst_pu = 0;        // size index
  std::string txt1;      // slope, per mille
  std::string txt2 = "0.010";  // roughness n (material default)
  int cbo1 = 5;          // depth choice index

  bool operator==(const CatalogueFacilityInputs&) const = default;
};

// Form5 (main check) and Form20 (flow time): circular pipe of any diameter.
struct OtherCircularInputs {
  std::string txt_m;  // material / name
  std::string txt1;   // inner diameter D, m
  std::string txt2;   // slope, per mille
  std::string txt3;   // roughness n
  int cbo1 = 5;       // depth choice index (15-entry circular list)

  bool operator==(const OtherCircularInputs&) const = default;
};

// Form1: rectangular pipe.
struct RectangularPipeInputs {
  std::string txt_m;  // material / name
  std::string txt1;   // height H, m
  std::string txt2;   // width B, m
  std::string txt3;   // slope, per mille
  std::string txt4;   // roughness n
  int cbo1 = 4;       // depth choice index (7-entry list)

  bool operator==(const RectangularPipeInputs&) const = default;
};

// Form19: U ditch / trapezoid ditch.
struct DitchInputs {
  std::string txt_m;  // name
  std::string txt1;   // height h
  std::string txt2;   // bottom width b1
  std::string txt3;   // top width b2
  std::string txt4;   // slope width b3
  std::string txt5;   // slope, per mille
  std::string txt6;   // roughness n
  int cbo1 = 5;       // depth choice index (8-entry open-channel list)

  bool operator==(const DitchInputs&) const = default;
};

// Form21: irregular channel given by up to eight vertices.
struct IrregularChannelInputs {
  std::string txt_m;  // name
  std::string txt1;   // bottom width (descriptive)
  std::string txt2;   // top width (descriptive)
  std::string txt3;   // height (descriptive)
  std::string txt4;   // slope, per mille
  std::string txt5;   // roughness n
  std::array<std::string, 8> txt_x{" 0", "", "", "", "", "", "", ""};  // txt_x1..txt_x8
  std::array<std::string, 8> txt_y{" 0", "", "", "", "", "", "", ""};  // txt_y1..txt_y8

  bool operator==(const IrregularChannelInputs&) const = default;
};

// The facility screen of the main check; only the one matching
// MainScreenInputs::lst_s belongs to the project.
struct FacilityScreenInputs {
  CatalogueFacilityInputs form2;
  OtherCircularInputs form5;
  RectangularPipeInputs form1;

  bool operator==(const FacilityScreenInputs&) const = default;
};

// Form26 captions, "0.0000".  They exist only while a run result exists.
struct ResultCaptions {
  std::string lbl3;  // Q1
  std::string lbl6;  // Q2
  std::string lbl9;  // V
};

// Form12, rainfall intensity.
struct IntensityScreenInputs {
  bool opt1 = false, opt2 = false, opt3 = false, opt4 = false, opt5 = false, opt6 = false;
  std::string txt1;  // a
  std::string txt2;  // b
  std::string txt3;  // t1
  std::string txt4;  // L (facility length, m)
  std::string txt5;  // V (m/sec)
  std::string txt6;  // c
  std::string txt7;  // d
  std::string txt8;  // t
  std::string txt9;  // t2
  bool Option1 = false;  // t1 typed
  bool Option2 = false;  // t1 by Kerby (Form13)
  bool Option3 = false;  // t typed
  bool Option4 = true;   // t = t1 + t2
  bool Option5 = false;  // t2 typed
  bool Option6 = true;   // t2 computed
  bool Option7 = false;  // V assumed
  bool Option8 = false;  // V calculated on a flow-time facility screen
  int chk1 = 0;          // river-course formula
  std::string lbl1;      // source line shown in river-course mode

  bool operator==(const IntensityScreenInputs&) const = default;
};

// Form22, river course.
struct RiverCourseInputs {
  bool opt1 = false;  // before development
  bool opt2 = false;  // after development
  std::string txt1;   // river length, km
  std::string txt2;   // river slope i

  bool operator==(const RiverCourseInputs&) const = default;
};

// The three numbers Form13 copies on OK, held as the text the project file
// stores (" 100 ", " .5 "); empty until the first OK.
struct InflowTimeCopies {
  std::string slopeLength;
  std::string slope;
  std::string retardance;

  bool operator==(const InflowTimeCopies&) const = default;
};

// Form13, inflow time by Kerby.
struct InflowTimeInputs {
  std::string txt1;  // slope length L, m
  std::string txt2;  // slope S, per mille
  std::string txt3;  // retardance coefficient n

  bool operator==(const InflowTimeInputs&) const = default;
};

// Form16, runoff coefficient by land use.
struct RunoffScreenInputs {
  // Check boxes in file order: chk_k1..chk_k8, chk_t1..chk_t7, chk_u1..chk_u4.
  std::array<int, 19> checks{};
  std::array<std::string, 6> txt_t;  // row names
  std::array<std::string, 6> txt_c;  // row coefficients
  std::array<std::string, 6> txt_a;  // row areas, m2

  bool operator==(const RunoffScreenInputs&) const = default;
};

// Form17 and the flow-time facility screens.
struct FlowTimeFacilityInputs {
  // 0 none, 1 Form18, 2 Form19, 3 Form20, 4 Form21; held as the project
  // file's text (" 1 "), empty when never set.
  std::string FlowTimeScreenCode;
  bool opt1 = false;  // Manning
  bool opt2 = false;  // Kutter
  int lst_s = 0;      // 0..3 pipes, 4 other circular, 5 U-trough, 6 ditch, 7 irregular
  CatalogueFacilityInputs form18;
  DitchInputs form19;
  OtherCircularInputs form20;
  IrregularChannelInputs form21;

  bool operator==(const FlowTimeFacilityInputs&) const = default;
};

// Form28, planned sewage flow.
struct SewageFlowInput {
  bool opt1 = false;  // residential
  bool opt2 = false;  // non-residential (1)
  bool opt3 = false;  // non-residential (2)
  std::string txt_p;   // population
  std::string txt_q1;  // litres per person and day
  std::string txt_a;   // drainage area, m2
  std::string txt_q2;  // m3/sec per ha

  bool operator==(const SewageFlowInput&) const = default;
};

// ---------------------------------------------------------------- derived

// The main check's numbers as read by the facility screen (Zairyou_1).
struct MainCheckNumbers {
  double C = 0.0;
  double I = 0.0;          // rainfall intensity, mm/hr
  double area = 0.0;       // catchment area, m2
  double q = 0.0;          // sewage flow, m3/sec
  double g = 0.0;          // groundwater %
  double s = 0.0;          // surcharge %
  double x = 0.0;          // slope, per mille
  double n = 0.0;          // roughness
  double D = 0.0;          // diameter, m
  double H = 0.0;          // height, m
  double B = 0.0;          // width, m
};

// A facility's section as computed for the report (Zairyou_2 / Takaku_2).
struct FacilitySection {
  std::string name;        // stored catalogue name or typed name
  double D = 0.0;          // circular pipes
  double B = 0.0, H = 0.0; // rectangular pipe, U-trough
  double b1 = 0.0, b2 = 0.0, b3 = 0.0, h = 0.0;  // ditch
  double depthCode = 0.0;  // 10, 9.5 ... 7, 95 ... 70; 0 when none
  int vertexCount = 0;     // irregular channel
  SectionGeometry geometry;
};

// Result of the last check run (Form26).  Exists until any input changes.
struct RunResult {
  bool exists = false;
  double Q11 = 0.0;
  double Q12 = 0.0;
  double factor = 1.0;     // (100 + s) / 100
  double Q1 = 0.0;
  double Q2 = 0.0;         // 0 while no result exists
  double V = 0.0;
  Verdict verdict = Verdict::OK;
};

// Numbers Form16 keeps for the report (Ryusyutu_1 / Ryusyutu_2).
struct RunoffNumbers {
  std::array<std::string, 6> names;
  std::array<double, 6> C{};
  std::array<double, 6> A{};
  double sumA = 0.0;
  double C_weighted = 0.0;
};

// Numbers Form12 keeps for the report (Keisan_1 / Keisan_2).
struct IntensityNumbers {
  double a = 0.0, b = 0.0, c = 0.0, d = 0.0;
  double t1 = 0.0;
  double L = 0.0;      // facility length, m
  double V = 0.0;      // velocity, m/sec
  double t = 0.0;
  double t2 = 0.0;
  double I = 0.0;
  double riverL = 0.0; // km
  double riverI = 0.0;
};

// Numbers Form13 keeps (L, S, n read on OK, and the unrounded t1).
struct InflowTimeNumbers {
  double L = 0.0, S = 0.0, n = 0.0, t1 = 0.0;
};

// Numbers Form28 keeps (Keisan).
struct SewageNumbers {
  double P = 0.0, q1 = 0.0, A = 0.0, q2 = 0.0, Q = 0.0;
};

struct DerivedValues {
  MainCheckNumbers main;
  FacilitySection mainSection;
  CapacityResult mainCapacity;
  RunoffNumbers runoff;
  IntensityNumbers intensity;
  InflowTimeNumbers inflow;
  SewageNumbers sewage;
  FacilitySection flowTimeSection;
  CapacityResult flowTimeCapacity;
  double flowTimeSlope = 0.0;      // per mille, as read by the flow-time screen
  double flowTimeRoughness = 0.0;  // n, as read by the flow-time screen
};

// ---------------------------------------------------------------- record

struct ProjectRecord {
  MainScreenInputs main;
  FacilityScreenInputs facility;
  ResultCaptions results;
  IntensityScreenInputs intensity;
  RiverCourseInputs river;
  InflowTimeCopies inflowCopies;
  InflowTimeInputs inflow;
  RunoffScreenInputs runoff;
  FlowTimeFacilityInputs flowTime;
  SewageFlowInput sewage;

  DerivedValues derived;
  RunResult run;
};

// Close: discards the main screen, facility, results, intensity, runoff and
// flow-time groups (the flow-time screen code becomes 0).  The sewage,
// inflow-time (with its copies) and river-course groups and the derived
// numbers are kept: a later project that opens those screens finds them.
void CloseProjectGroups(ProjectRecord& record);

// New: Close, then the main screen with its defaults and the VP pipe screen.
void NewProject(ProjectRecord& record);

// Drops the run result: captions, Q2 = 0, no result.
void DiscardRunResult(ProjectRecord& record);

// Whether two records hold the same inputs: every screen's group, the
// inflow-time copies included; the derived numbers, the result captions and
// the run result are not compared (they follow from the inputs).
bool SameInputs(const ProjectRecord& a, const ProjectRecord& b);

}  // namespace mk
