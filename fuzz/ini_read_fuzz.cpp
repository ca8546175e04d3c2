// Any bytes as a settings file: parsing keeps them all, and lookups stay within the limits.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "tests/support/test_code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TestCodePage page;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const IniText text(bytes, page);
  FUZZ_CHECK(text.Bytes() == bytes);

  // Names from the file itself as well as the program's own.
  std::vector<std::wstring> sections = {L"Section", L"section"};
  std::vector<std::wstring> keys = {L"Color_0", L"Pos_X", L"Sound_F_0"};
  for (const FuzzLine& line : FuzzLines(FuzzUnits(bytes, text.Encoding()))) {
    const std::wstring w(line.content.begin(), line.content.end());
    const std::size_t eq = w.find(L'=');
    if (!w.empty() && w[0] == L'[' && sections.size() < 4) sections.push_back(w.substr(1, w.rfind(L']') - 1));
    if (eq != std::wstring::npos && keys.size() < 8) keys.push_back(w.substr(0, eq));
  }
  for (const std::wstring& section : sections) {
    for (const std::wstring& key : keys) {
      const std::wstring value = text.Get(section, key);
      FUZZ_CHECK(value.size() <= 255);
    }
  }
  return 0;
}
