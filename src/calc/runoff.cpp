#include "calc/runoff.h"

#include <cmath>

#include "model/number_text.h"

namespace mk {

const std::array<LandUseChoice, 19>& LandUseCatalogue() {
  // Four row texts differ from their captions: "水  面" and "水  田" carry two
  // half-width blanks, "芝､樹木の多い公園" the half-width comma, "畑・原野"
  // no blanks.
  static const std::array<LandUseChoice, 19> catalogue{{
      {"chk_k1", "屋　根", "屋　根", "0.85～0.95"},
      {"chk_k2", "道　路", "道　路", "0.80～0.90"},
      {"chk_k3", "その他の不透水面", "その他の不透水面", "0.75～0.85"},
      {"chk_k4", "水　面", "水  面", "1.00"},
      {"chk_k5", "間　地", "間　地", "0.10～0.30"},
      {"chk_k6", "芝、樹木の多い公園", "芝､樹木の多い公園", "0.05～0.25"},
      {"chk_k7", "勾配の緩い山地", "勾配の緩い山地", "0.20～0.40"},
      {"chk_k8", "勾配の急な山地", "勾配の急な山地", "0.40～0.60"},
      {"chk_t1", "密集市街地", "密集市街地", "0.9"},
      {"chk_t2", "一般市街地", "一般市街地", "0.8"},
      {"chk_t3", "畑 ・ 原野", "畑・原野", "0.6"},
      {"chk_t4", "水　田", "水  田", "0.7"},
      {"chk_t5", "山　地", "山　地", "0.7"},
      {"chk_t6", "宅地等の造成地域", "宅地等の造成地域", "0.9"},
      {"chk_t7", "ｺﾞﾙﾌ場等の造成地域", "ｺﾞﾙﾌ場等の造成地域", "0.8"},
      {"chk_u1", "林　地", "林　地", "0.3～0.7"},
      {"chk_u2", "草　地", "草　地", "0.4～0.8"},
      {"chk_u3", "耕　地", "耕　地", "0.5～0.8"},
      {"chk_u4", "裸　地", "裸　地", "0.9～1.0"},
  }};
  return catalogue;
}

std::optional<int> LandUseIndex(const std::string& control) {
  const auto& catalogue = LandUseCatalogue();
  for (int i = 0; i < static_cast<int>(catalogue.size()); ++i)
    if (control == catalogue[i].control) return i;
  return std::nullopt;
}

void ApplyLandUseToggle(RunoffScreenInputs& runoff, int index, bool ticked) {
  if (index < 0 || index >= static_cast<int>(LandUseCatalogue().size())) return;
  runoff.checks[index] = ticked ? 1 : 0;
  const std::string text = LandUseCatalogue()[index].rowText;

  if (ticked) {
    // The first empty row all of whose earlier rows are filled; since the
    // search runs from row 1, that is simply the first empty row.
    for (auto& name : runoff.txt_t) {
      if (name.empty()) {
        name = text;
        return;
      }
    }
    return;  // all six rows filled: nothing written, the box stays ticked
  }

  for (std::size_t row = 0; row < runoff.txt_t.size(); ++row) {
    if (runoff.txt_t[row] == text) {
      runoff.txt_t[row].clear();
      runoff.txt_c[row].clear();
      runoff.txt_a[row].clear();
      return;
    }
  }
}

void Ryusyutu_1(ProjectRecord& record) {
  RunoffNumbers& numbers = record.derived.runoff;
  for (std::size_t row = 0; row < 6; ++row) {
    numbers.names[row] = record.runoff.txt_t[row];
    numbers.C[row] = ParseLeadingNumber(record.runoff.txt_c[row]);
    numbers.A[row] = ParseLeadingNumber(record.runoff.txt_a[row]);
  }
}

std::optional<CalcError> ValidateRunoffRowOne(const ProjectRecord& record) {
  const RunoffNumbers& numbers = record.derived.runoff;
  if (numbers.names[0].empty()) return CalcError{"土地利用形態を入力してください。", "Form16.txt_t1"};
  if (numbers.C[0] == 0.0) return CalcError{"流出係数を入力してください。", "Form16.txt_c1"};
  if (numbers.A[0] == 0.0) return CalcError{"流域面積を入力してください。", "Form16.txt_a1"};
  return std::nullopt;
}

std::optional<CalcError> Ryusyutu_2(ProjectRecord& record) {
  RunoffNumbers& numbers = record.derived.runoff;
  double sumA = 0.0;
  double sumCA = 0.0;
  for (std::size_t row = 0; row < 6; ++row) {
    sumA += numbers.A[row];
    sumCA += numbers.C[row] * numbers.A[row];
  }
  // Row 1 is never 0 after the checks, so a zero total needs negative areas;
  // the average is then undefined and the main screen keeps its values.
  if (sumA == 0.0)
    return CalcError{"流域面積の合計が０になるため、流出係数を計算できません。", "Form16.txt_a1"};
  const double C = sumCA / sumA;
  if (!std::isfinite(sumA) || !std::isfinite(C))
    return CalcError{"流出係数又は流域面積の値が大きすぎるため、流出係数を計算できません。",
                     "Form16.txt_a1"};

  numbers.sumA = sumA;
  numbers.C_weighted = C;
  record.main.txt_c = FormatNumber(C, "0.0##");
  record.main.txt_a = FormatNumber(sumA, "0.00");
  return std::nullopt;
}

std::optional<CalcError> AcceptRunoffScreen(ProjectRecord& record) {
  // The copied values belong to the screen's current rows, whether or not
  // the checks then pass; only the main screen's fields wait for success.
  Ryusyutu_1(record);
  if (auto failure = ValidateRunoffRowOne(record)) return failure;
  if (auto failure = Ryusyutu_2(record)) return failure;
  record.main.opt5 = false;
  record.main.opt6 = true;
  DiscardRunResult(record);
  return std::nullopt;
}

}  // namespace mk
