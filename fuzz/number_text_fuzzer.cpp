// Fuzz target: the leading-number parse and every number pattern.
// The input is read as a field's text; when it has at least eight bytes,
// its first eight are also taken as a double's bits (NaN, infinities,
// subnormals, huge values).  See number_text_checks.h for the properties.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "number_text_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure =
      mk::fuzzcheck::CheckNumberInput(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!failure.empty()) {
    std::fprintf(stderr, "property broken: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
