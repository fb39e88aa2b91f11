#pragma once
// CP932 (the Windows Japanese code page) at the byte boundary.

#include <QByteArray>
#include <optional>
#include <string>
#include <string_view>

namespace mk {

// UTF-8 -> CP932.  Returns nothing when a character has no CP932 form;
// `badChar` then receives that character (UTF-8).  The JIS-mapping forms
// that non-Windows input methods type ("〜" U+301C, "−" U+2212, "—" U+2014,
// "‖", "¢", "£", "¬") are written as the code page's own characters.
std::optional<QByteArray> EncodeCp932(std::string_view utf8, std::string* badChar = nullptr);

// CP932 -> UTF-8.  Bytes that do not decode become U+FFFD: a byte the code
// page does not define, a lead byte without its trail byte, a pair that is
// not assigned.  00..7F are ASCII.
std::string DecodeCp932(const QByteArray& bytes);
std::string DecodeCp932(std::string_view bytes);

// The same into `out` (replacing what it held), so that a caller decoding
// many lines can keep reusing the string's storage.
void DecodeCp932(std::string_view bytes, std::string& out);

}  // namespace mk
