#pragma once
// Fixed catalogues: catalogue pipes and U-troughs with their sizes, the
// effective-depth settings with their stored codes, the depth choice lists
// and the partial-depth coefficients of a circular pipe.

#include <optional>
#include <string>
#include <vector>

namespace mk {

// Catalogue pipe materials, in the order of the main screen's facility list
// (index 0..3) and of the flow-time list (index 0..3).
enum class PipeMaterial { VP, VU, FRPM, Hume };

// Main-screen / flow-time list index 0..3 -> material; nothing otherwise.
std::optional<PipeMaterial> MaterialFromKind(int kind);

std::string MaterialCaption(PipeMaterial material);   // "ＶＰ管", "ＶＵ管", "強化プラスチック複合管", "ヒューム管"
std::string DefaultRoughness(PipeMaterial material);  // "0.010" or "0.013"

struct CatalogueSize {
  std::string label;       // list label, e.g. "ＶＰ－φ６５"
  std::string storedName;  // name kept and printed, e.g. "VP - φ65"
  double D = 0.0;          // inner diameter (U-trough: B = H), m
};

const std::vector<CatalogueSize>& PipeSizes(PipeMaterial material);
const std::vector<CatalogueSize>& UTroughSizes();
inline const char* kUTroughCaption = "Ｕ型トラフ";
inline const char* kUTroughRoughness = "0.013";

// Size lookup; nothing when the index is outside the list.
std::optional<CatalogueSize> LookupPipe(PipeMaterial material, int index);
std::optional<CatalogueSize> LookupUTrough(int index);

// The thirteen effective-depth settings.
enum class DepthRatio {
  Full, Depth95, Depth90, Depth85, Depth80, Depth75, Depth70,
  Flow95, Flow90, Flow85, Flow80, Flow75, Flow70
};

double DepthCode(DepthRatio ratio);  // 10, 9.5 ... 7, 95 ... 70
std::optional<DepthRatio> DepthRatioFromCode(double code);

struct PartialDepthCoefficients {
  double kA = 0.0;
  double kP = 0.0;
};
PartialDepthCoefficients PartialDepthTable(DepthRatio ratio);

// The three depth choice lists.
enum class DepthListKind {
  Circular,     // 15 entries with two empty separators, default index 5
  Rectangular,  // 7 entries (rectangular pipe), default index 4
  OpenChannel,  // 8 entries with one separator (U-trough, ditch), default index 5
};

struct DepthChoice {
  std::string text;                  // entry text; "" for a separator
  std::optional<DepthRatio> member;  // nothing for a separator
};

const std::vector<DepthChoice>& DepthChoiceList(DepthListKind kind);
int DefaultDepthIndex(DepthListKind kind);
// The member an entry selects; nothing for a separator, -1 or an index out of range.
std::optional<DepthRatio> DepthChoiceMember(DepthListKind kind, int index);

}  // namespace mk
