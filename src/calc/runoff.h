#pragma once
// Runoff coefficient by land use (Form16): the fixed land-use catalogue,
// the tick rule that fills the six entry rows, and the weighted average
// that the OK button writes back into the main screen.

#include <array>
#include <optional>
#include <string>

#include "calc/calc_error.h"
#include "model/project_record.h"

namespace mk {

// One of the 19 fixed land-use check boxes.
struct LandUseChoice {
  const char* control;    // "chk_k1" ... "chk_u4"
  const char* caption;    // text beside the box
  const char* rowText;    // text written into an entry row (differs from the caption in four rows)
  const char* reference;  // reference coefficient shown beside it, e.g. "0.85～0.95"
};

// In the order of RunoffScreenInputs::checks (chk_k1..chk_k8, chk_t1..chk_t7, chk_u1..chk_u4).
const std::array<LandUseChoice, 19>& LandUseCatalogue();

// Index of a check box by its control name; nothing for an unknown name.
std::optional<int> LandUseIndex(const std::string& control);

// Stores the box's new state (ticked or not) and applies the toggle rule:
// ticking writes the row text into the first empty row that follows only
// filled rows (row 1 first when empty; nothing when all six are filled);
// unticking empties name, coefficient and area of the first row whose name
// equals the row text.  Index outside 0..18 does nothing.
void ApplyLandUseToggle(RunoffScreenInputs& runoff, int index, bool ticked);

// Copies the six names and the parsed coefficients and areas into
// record.derived.runoff (runs at the start of every OK, and on Open).
void Ryusyutu_1(ProjectRecord& record);

// Row 1 of the copied values: name, coefficient, area (first failure, with
// the focus "Form16.txt_t1", "Form16.txt_c1" or "Form16.txt_a1").
std::optional<CalcError> ValidateRunoffRowOne(const ProjectRecord& record);

// Sum of areas and the weighted C from record.derived.runoff; writes main
// txt_c as "0.0##" and txt_a as "0.00".  A total area of 0 (or a sum that is
// not a number) is refused with a message and nothing is written.
std::optional<CalcError> Ryusyutu_2(ProjectRecord& record);

// The OK button: Ryusyutu_1, the row-1 checks, Ryusyutu_2; on success also
// selects the weighted choice (opt6 true, opt5 false) and discards the run
// result.  On failure returns the message and focus; the main screen's
// fields are unchanged.
std::optional<CalcError> AcceptRunoffScreen(ProjectRecord& record);

}  // namespace mk
