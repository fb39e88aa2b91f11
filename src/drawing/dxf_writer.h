#pragma once
// A drawing list as an ASCII DXF R12 file ($ACADVER AC1009), the version
// CAD programs in Japan read without conversion: $DWGCODEPAGE ANSI_932 in
// the header, every text and layer name in CP932, only the entities R12
// knows (LINE, TEXT, POLYLINE/VERTEX/SEQEND, CIRCLE), and the tables those
// entities name (LTYPE, LAYER, STYLE) present.  Lines end in CR LF.
//
// Model space is in metres: each sheet point p goes to
// (p − sheet.modelOrigin) · sheet.modelScale, so a drawing made at a scale
// comes out at 1:1.  The sheets of a long drawing lie side by side: each
// after the first is moved to the right by the fewest whole hundreds of
// metres that keep it clear of the one before (DxfSheetShifts); y is left
// as it is.
//
// The character conversion is the caller's: this layer has no code page
// tables.  The desktop and the command pass the program's CP932 codec
// (project_file/), the browser its generated tables.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing.h"

namespace mk::drawing {

// UTF-8 in, CP932 bytes out; nothing when a character has no CP932 form,
// with that character (UTF-8) in *badChar.
using Cp932Encoder = std::function<std::optional<std::string>(std::string_view utf8, std::string* badChar)>;

// The shifts are whole multiples of this, m.
inline constexpr double kDxfShiftStep = 100.0;

// The text style of every text: the report's Mincho.
inline constexpr const char* kDxfTextStyle = "MINCHO";
inline constexpr const char* kDxfTextFont = "msmincho.ttc";

struct DxfFile {
  std::string bytes;               // valid when ok()
  std::optional<std::string> refusal;  // a text CP932 cannot hold, named
  bool ok() const { return !refusal.has_value(); }
};

DxfFile WriteDxf(const std::vector<Sheet>& sheets, const Cp932Encoder& encode);

// How far each sheet is moved to the right in model space, m (0 for the
// first): sheet k's paper starts at least 10 paper mm after sheet k − 1's.
std::vector<double> DxfSheetShifts(const std::vector<Sheet>& sheets);

// Where a sheet point lands in model space, the sheet moved by `shift`.
Point DxfModelPoint(const Sheet& sheet, double shift, Point p);

}  // namespace mk::drawing
