#include "calc/catalogue.h"

#include <array>
#include <initializer_list>

namespace mk {

namespace {

// Full-width digits for the list labels ("ＶＰ－φ６５").
std::string FullWidthDigits(int value) {
  static const std::array<const char*, 10> kDigits{"０", "１", "２", "３", "４",
                                                   "５", "６", "７", "８", "９"};
  std::string out;
  for (char c : std::to_string(value)) out += kDigits[static_cast<size_t>(c - '0')];
  return out;
}

struct SizeRow {
  int nominal;
  double D;
};

std::vector<CatalogueSize> BuildSizes(const char* labelPrefix, const char* namePrefix,
                                      const std::vector<SizeRow>& rows) {
  std::vector<CatalogueSize> sizes;
  sizes.reserve(rows.size());
  for (const SizeRow& row : rows) {
    sizes.push_back(CatalogueSize{std::string(labelPrefix) + FullWidthDigits(row.nominal),
                                  std::string(namePrefix) + std::to_string(row.nominal), row.D});
  }
  return sizes;
}

// Sizes whose nominal size is the inner diameter (FRPM, Hume).
std::vector<SizeRow> NominalIsDiameter(std::initializer_list<int> nominals) {
  std::vector<SizeRow> rows;
  for (int nominal : nominals) rows.push_back(SizeRow{nominal, nominal / 1000.0});
  return rows;
}

}  // namespace

std::optional<PipeMaterial> MaterialFromKind(int kind) {
  switch (kind) {
    case 0: return PipeMaterial::VP;
    case 1: return PipeMaterial::VU;
    case 2: return PipeMaterial::FRPM;
    case 3: return PipeMaterial::Hume;
    default: return std::nullopt;
  }
}

std::string MaterialCaption(PipeMaterial material) {
  switch (material) {
    case PipeMaterial::VP: return "ＶＰ管";
    case PipeMaterial::VU: return "ＶＵ管";
    case PipeMaterial::FRPM: return "強化プラスチック複合管";
    case PipeMaterial::Hume: return "ヒューム管";
  }
  return "";
}

std::string DefaultRoughness(PipeMaterial material) {
  return material == PipeMaterial::Hume ? "0.013" : "0.010";
}

const std::vector<CatalogueSize>& PipeSizes(PipeMaterial material) {
  // VP and VU: D is the catalogue pipe's inner diameter, not the nominal size.
  static const std::vector<CatalogueSize> kVP = BuildSizes(
      "ＶＰ－φ", "VP - φ",
      {{65, 0.0678}, {75, 0.078}, {100, 0.1008}, {125, 0.126}, {150, 0.1472},
       {200, 0.1954}, {250, 0.2416}, {300, 0.2878}});
  static const std::vector<CatalogueSize> kVU = BuildSizes(
      "ＶＵ－φ", "VU - φ",
      {{65, 0.0716}, {75, 0.0836}, {100, 0.1078}, {125, 0.1318}, {150, 0.1548},
       {200, 0.203}, {250, 0.2514}, {300, 0.2996}, {350, 0.349}, {400, 0.3964},
       {450, 0.4436}, {500, 0.4908}, {600, 0.5944}});
  static const std::vector<CatalogueSize> kFRPM = BuildSizes(
      "ＦＲＰＭ管－φ", "強化プラスチック複合管 φ",
      NominalIsDiameter({200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000, 1100,
                         1200, 1350, 1500, 1650, 1800, 2000}));
  static const std::vector<CatalogueSize> kHume = BuildSizes(
      "ヒューム管－φ", "ﾋｭｰﾑ管 φ",
      NominalIsDiameter({150, 200, 250, 300, 350, 400, 450, 500, 600, 700, 800, 900, 1000,
                         1100, 1200, 1350, 1500, 1650, 1800, 2000, 2200, 2400, 2600, 2800,
                         3000}));
  switch (material) {
    case PipeMaterial::VP: return kVP;
    case PipeMaterial::VU: return kVU;
    case PipeMaterial::FRPM: return kFRPM;
    case PipeMaterial::Hume: return kHume;
  }
  return kVP;
}

const std::vector<CatalogueSize>& UTroughSizes() {
  static const std::vector<CatalogueSize> kSizes = [] {
    std::vector<CatalogueSize> sizes;
    for (int size : {150, 180, 240, 300, 360, 450, 600}) {
      const std::string s = std::to_string(size);
      sizes.push_back(CatalogueSize{"Ｕ－" + FullWidthDigits(size), "U - " + s + " X " + s,
                                    size / 1000.0});
    }
    return sizes;
  }();
  return kSizes;
}

std::optional<CatalogueSize> LookupPipe(PipeMaterial material, int index) {
  const auto& sizes = PipeSizes(material);
  if (index < 0 || index >= static_cast<int>(sizes.size())) return std::nullopt;
  return sizes[static_cast<size_t>(index)];
}

std::optional<CatalogueSize> LookupUTrough(int index) {
  const auto& sizes = UTroughSizes();
  if (index < 0 || index >= static_cast<int>(sizes.size())) return std::nullopt;
  return sizes[static_cast<size_t>(index)];
}

namespace {

struct DepthRow {
  DepthRatio member;
  double code;
  PartialDepthCoefficients k;
};

// Stored codes and the partial-depth coefficients of a circular pipe, fixed
// to four decimals.  Flow95 shares its kP with Depth90.
constexpr std::array<DepthRow, 13> kDepthRows{{
    {DepthRatio::Full, 10.0, {0.7853, 3.1415}},
    {DepthRatio::Depth95, 9.5, {0.7707, 2.6905}},
    {DepthRatio::Depth90, 9.0, {0.7445, 2.498}},
    {DepthRatio::Depth85, 8.5, {0.7115, 2.3461}},
    {DepthRatio::Depth80, 8.0, {0.6735, 2.2142}},
    {DepthRatio::Depth75, 7.5, {0.6318, 2.0943}},
    {DepthRatio::Depth70, 7.0, {0.5872, 1.9823}},
    {DepthRatio::Flow95, 95.0, {0.7461, 2.498}},
    {DepthRatio::Flow90, 90.0, {0.7068, 2.3282}},
    {DepthRatio::Flow85, 85.0, {0.6675, 2.1958}},
    {DepthRatio::Flow80, 80.0, {0.6283, 2.0858}},
    {DepthRatio::Flow75, 75.0, {0.589, 1.9866}},
    {DepthRatio::Flow70, 70.0, {0.5497, 1.8962}},
}};

const DepthRow& RowOf(DepthRatio ratio) {
  for (const DepthRow& row : kDepthRows)
    if (row.member == ratio) return row;
  return kDepthRows[0];
}

}  // namespace

double DepthCode(DepthRatio ratio) { return RowOf(ratio).code; }

std::optional<DepthRatio> DepthRatioFromCode(double code) {
  for (const DepthRow& row : kDepthRows)
    if (row.code == code) return row.member;
  return std::nullopt;
}

PartialDepthCoefficients PartialDepthTable(DepthRatio ratio) { return RowOf(ratio).k; }

const std::vector<DepthChoice>& DepthChoiceList(DepthListKind kind) {
  using R = DepthRatio;
  static const std::vector<DepthChoice> kCircular{
      {"満流", R::Full},          {"", std::nullopt},         {"水深９.5割", R::Depth95},
      {"水深９割", R::Depth90},   {"水深８.5割", R::Depth85}, {"水深８割", R::Depth80},
      {"水深７.5割", R::Depth75}, {"水深７割", R::Depth70},   {"", std::nullopt},
      {"水量９５％", R::Flow95},  {"水量９０％", R::Flow90},  {"水量８５％", R::Flow85},
      {"水量８０％", R::Flow80},  {"水量７５％", R::Flow75},  {"水量７０％", R::Flow70},
  };
  static const std::vector<DepthChoice> kRectangular{
      {"満流", R::Full},         {"水深９.5割", R::Depth95}, {"水深９割", R::Depth90},
      {"水深８.5割", R::Depth85}, {"水深８割", R::Depth80},   {"水深７.5割", R::Depth75},
      {"水深７割", R::Depth70},
  };
  static const std::vector<DepthChoice> kOpenChannel{
      {"満流", R::Full},          {"", std::nullopt},         {"水深９.5割", R::Depth95},
      {"水深９割", R::Depth90},   {"水深８.5割", R::Depth85}, {"水深８割", R::Depth80},
      {"水深７.5割", R::Depth75}, {"水深７割", R::Depth70},
  };
  switch (kind) {
    case DepthListKind::Circular: return kCircular;
    case DepthListKind::Rectangular: return kRectangular;
    case DepthListKind::OpenChannel: return kOpenChannel;
  }
  return kCircular;
}

int DefaultDepthIndex(DepthListKind kind) { return kind == DepthListKind::Rectangular ? 4 : 5; }

std::optional<DepthRatio> DepthChoiceMember(DepthListKind kind, int index) {
  const auto& list = DepthChoiceList(kind);
  if (index < 0 || index >= static_cast<int>(list.size())) return std::nullopt;
  return list[static_cast<size_t>(index)].member;
}

}  // namespace mk
