// Read, write one key, read again. The written key reads back as written; every other line
// stays byte for byte and reads as before; the encoding, mark and kinds of line end are kept,
// but for an ANSI file given a value its code page cannot hold, which becomes UTF-16LE.
//
// Input: byte 0 picks the section and key, byte 1 the value's length, the next bytes the value
// (mapped onto characters a value can hold without quoting or trimming), the rest is the file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>

#include "fuzz/fuzz_support.h"
#include "tests/support/test_code_page.h"

namespace {

const wchar_t* const kSections[] = {L"Section", L"SECTION", L"Other"};
const wchar_t* const kKeys[] = {L"Color_0", L"pos_x", L"Shape", L"A", L"Sound_F_0", L"Section"};
const wchar_t kValueChars[] = L"0123456789 -.:\\abcXYZ_\u00e9\u97f3";

char16_t fold(char16_t c) { return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c; }

bool sameNoCase(const std::u16string& a, const std::u16string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) {
           return fold(x) == fold(y);
         });
}

// Section and key names are ASCII: the same units in every encoding.
std::u16string units(const std::wstring& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool isBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; }

std::u16string trim(const std::u16string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The key a line sets, or "" for a line that sets none.
std::u16string keyOf(const std::u16string& content) {
  const std::u16string t = trim(content);
  if (t.empty() || t[0] == u'[') return {};
  return trim(t.substr(0, t.find(u'=')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const TestCodePage page;
  if (size < 2) return 0;
  const std::wstring section = kSections[data[0] % 3];
  const std::wstring key = kKeys[(data[0] / 3) % 6];
  const std::size_t length = std::min<std::size_t>(data[1] % 64, size - 2);
  std::wstring value;
  for (std::size_t i = 0; i < length; ++i) {
    value += kValueChars[data[2 + i] % (sizeof kValueChars / sizeof kValueChars[0] - 1)];
  }
  while (!value.empty() && value.back() == L' ') value.pop_back();
  while (!value.empty() && value.front() == L' ') value.erase(0, 1);
  const std::string before(reinterpret_cast<const char*>(data) + 2 + length, size - 2 - length);

  IniText text(before, page);
  const IniEncoding encoding = text.Encoding();
  text.Set(section, key, value);
  const std::string after = text.Bytes();
  const IniText reread(after, page);

  // A value the code page cannot hold turns the file to UTF-16, and so does a change after
  // which the file's bytes would read as UTF-8 (checked below: it still reads as before).
  const bool converted = encoding == IniEncoding::Ansi &&
                         (page.Decode(page.Encode(value)) != value ||
                          after.compare(0, 2, "\xFF\xFE") == 0);
  // An unmarked UTF-8 file whose last non-ASCII character went with the changed line is plain
  // ASCII now, which reads the same in the code page.
  const bool nowAscii = std::all_of(after.begin(), after.end(),
                                    [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  FUZZ_CHECK(reread.Encoding() == (converted ? IniEncoding::Utf16LE : encoding) ||
             (encoding == IniEncoding::Utf8 && nowAscii && reread.Encoding() == IniEncoding::Ansi));
  if (converted) {
    FUZZ_CHECK(after.compare(0, 2, "\xFF\xFE") == 0);
  } else {
    const std::size_t mark = encoding == IniEncoding::Utf8   ? FuzzUtf8Mark(before)
                             : encoding == IniEncoding::Ansi ? 0
                                                             : 2;
    FUZZ_CHECK(after.compare(0, mark, before, 0, mark) == 0);
  }
  FUZZ_CHECK(reread.Get(section, key) == value);

  // Lines: the same but for the one that holds the key, or for the one or two added. The test
  // code page decodes byte by byte, so a converted file's units are the old bytes.
  const std::vector<FuzzLine> old = FuzzLines(FuzzUnits(before, encoding));
  const std::vector<FuzzLine> now = FuzzLines(FuzzUnits(after, reread.Encoding()));
  std::size_t head = 0;
  while (head < old.size() && head < now.size() && old[head].content == now[head].content) ++head;
  std::size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail].content == now[now.size() - 1 - tail].content) {
    ++tail;
  }
  const std::size_t removed = old.size() - head - tail, added = now.size() - head - tail;
  const std::u16string keyUnits = units(key);
  FUZZ_CHECK(removed <= 1 && added <= 2);
  if (removed == 1) FUZZ_CHECK(sameNoCase(keyOf(old[head].content), keyUnits));
  for (std::size_t i = head; i < head + added; ++i) {
    const std::u16string& c = now[i].content;
    const bool header = c == u'[' + units(section) + u']';
    FUZZ_CHECK(header || sameNoCase(keyOf(c), keyUnits));
  }

  // No kind of line end that the file did not have (a file without any gets CR LF).
  std::set<std::u16string> ends, newEnds;
  for (const FuzzLine& l : old) ends.insert(l.end);
  for (const FuzzLine& l : now) newEnds.insert(l.end);
  ends.erase(u"");
  newEnds.erase(u"");
  if (ends.empty()) ends.insert(u"\r\n");
  for (const std::u16string& e : newEnds) FUZZ_CHECK(ends.count(e) == 1);

  // Every other key reads as it did (in a converted file, as in the same text saved as UTF-16).
  std::string unicode = "\xFF\xFE";
  for (char c : before) unicode += {c, '\0'};
  const IniText original(converted ? unicode : before, page);
  std::vector<std::wstring> sections, keys;
  for (const FuzzLine& l : old) {
    const std::u16string t = trim(l.content);
    const std::size_t close = t.rfind(u']');
    if (!t.empty() && t[0] == u'[' && close != std::u16string::npos && sections.size() < 4) {
      sections.emplace_back(t.begin() + 1, t.begin() + close);
    } else if (!keyOf(t).empty() && keys.size() < 8) {
      const std::u16string k = keyOf(t);
      keys.emplace_back(k.begin(), k.end());
    }
  }
  for (const std::wstring& s : sections) {
    for (const std::wstring& k : keys) {
      const std::u16string su(s.begin(), s.end()), ku(k.begin(), k.end());
      if (sameNoCase(su, units(section)) && sameNoCase(ku, keyUnits)) continue;
      FUZZ_CHECK(reread.Get(s, k) == original.Get(s, k));
    }
  }
  return 0;
}
