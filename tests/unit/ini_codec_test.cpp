#include "model/ini_codec.h"

#include <gtest/gtest.h>

#include "tests/support/test_code_page.h"

namespace {

const TestCodePage kPage;

std::wstring wide(const std::string& bytes) { return kPage.Decode(bytes); }

// Get and Set on ANSI text, in bytes.
std::string get(const std::string& file, const std::string& section, const std::string& key) {
  return kPage.Encode(IniText(file, kPage).Get(wide(section), wide(key)));
}

std::string set(const std::string& file, const std::string& section, const std::string& key,
                const std::string& value) {
  IniText text(file, kPage);
  text.Set(wide(section), wide(key), wide(value));
  return text.Bytes();
}

std::string utf16(const std::u16string& s, bool little = true) {
  std::string out;
  for (char16_t c : s) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += little ? lo : hi;
    out += little ? hi : lo;
  }
  return out;
}

const std::string kFile =
    "; settings\r\n"
    "[Other]\r\n"
    "Shape=9\r\n"
    "section=0\r\n"
    "\r\n"
    "[section]\r\n"
    "  Color_0 =  16777215 \r\n"
    "Shape= 2\r\n"
    "shape=7\r\n"
    ";Mem_Ival=5\r\n"
    "Quoted=\"a b\"\r\n"
    "OneQuote=\"\r\n"
    "TwoQuotes=\"\"\r\n"
    "Single='x'\r\n"
    "Lone=\"abc\r\n"
    "Tab=\t-1\t\x1A\r\n"
    "Empty=\r\n"
    "Ctl=\x08x\x0E\r\r\n"
    "Zz=2\r\n"
    "Br{=3\r\n"
    "Sq]=4\r\n"
    "\r\n"
    "  =7\r\n"
    "NoEquals\r\n"
    "[Broken\r\n"
    "AfterBroken=5\r\n"
    "[Section]\r\n"
    "Late=1\r\n"
    "[Tail] ; after the name\r\n"
    "T=6\r\n";

TEST(IniText, ReadsByTheProfileRules) {
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Section", "Color_0", "16777215"},  // blanks around key and value trimmed
      {"SECTION", "shape", "2"},           // case-insensitive, first key wins
      {"Other", "Shape", "9"},
      {"Section", "Mem_Ival", ""},         // a comment is no key
      {"Section", "Quoted", "a b"},        {"Section", "OneQuote", "\""},
      {"Section", "TwoQuotes", ""},
      {"Section", "Single", "x"},
      {"Section", "Lone", "\"abc"},        // no matching quote: kept
      {"Section", "Tab", "-1"},
      {"Section", "Empty", ""},
      {"Section", "Ctl", "\x08x\x0E"},     // blanks are tab to CR, space and 0x1A
      {"Section", "zZ", "2"},
      {"Section", "Br[", ""},              // only letters fold
      {"Section", "NoEquals", ""},
      {"Section", "[Broken", ""},          // no ']': an entry, and the section goes on
      {"Section", "AfterBroken", "5"},     {"Section", "Sq]", "4"},
      {"Section", "", "7"},                {"Section", "Color", ""},  // a prefix is no key
      {"Tail", "T", "6"},                  // the name ends at the last ']'
      {"Section", "Late", ""},             // only the first matching section counts
      {"Missing", "Shape", ""},
      {"Section", "Missing", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(get(kFile, c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
}

TEST(IniText, CutsLongValuesWithoutSplittingACharacter) {
  EXPECT_EQ(get("[S]\r\nK=" + std::string(300, 'x') + "\r\n", "S", "K"), std::string(255, 'x'));
  // Asked for whole (a path, a label), a long value comes uncut.
  const std::string longer = "[S]\r\nK=" + std::string(300, 'x') + "\r\n";
  EXPECT_EQ(IniText(longer, kPage).Get(L"S", L"K", true), std::wstring(300, L'x'));

  // A double-byte character straddling the limit is dropped whole.
  const std::string kana = "\x83\x41";  // katakana "a" in code page 932
  EXPECT_EQ(get("[S]\r\nK=" + std::string(254, 'y') + kana + "zz\r\n", "S", "K"),
            std::string(254, 'y'));
  EXPECT_EQ(get("[S]\r\nK=" + std::string(253, 'y') + kana + "z\r\n", "S", "K"),
            std::string(253, 'y') + kana);
  EXPECT_EQ(get("[S]\r\nK=" + std::string(254, 'y') + kana + "\r\n", "S", "K"),
            std::string(254, 'y'));
  EXPECT_EQ(get("[S]\r\nK=ab\x83\r\n", "S", "K"), "ab\x83");  // a lead byte without its pair

  // In a Unicode file the limit counts UTF-16 units and keeps a surrogate pair whole.
  const std::u16string y(255, u'y');
  const std::wstring w(255, L'y');
  const struct { std::u16string value; std::wstring read; } rows[] = {
      {y.substr(1) + u"\U0001F600z", w.substr(1)}, {y.substr(1) + u"\U00010000z", w.substr(1)},
      {y.substr(1) + u"\U0010FFFFz", w.substr(1)},
      {y.substr(2) + u"\U0001F600z", w.substr(2) + L"\U0001F600"},
      {y.substr(1) + u"\uD7FFz", w.substr(1) + L"\uD7FF"},
      {y.substr(1) + u"\xDC00z", w.substr(1) + L"\xDC00"},
      {y.substr(1) + u"\xD83D", w.substr(1) + L"\xD83D"},  // 255 units: whole, even half a pair
      {y + u"\U0001F600", w}, {std::u16string(300, u'y'), w},
  };
  for (const auto& r : rows) {
    const IniText text("\xFF\xFE" + utf16(u"[S]\r\nK=" + r.value + u"\r\n"), kPage);
    EXPECT_EQ(text.Get(L"S", L"K"), r.read) << r.read.size();
  }
}

TEST(IniText, DoubleByteNamesMatchExactly) {
  // 0x5D (']') and 0x61 ('a') can be second bytes; they must not end the name or fold case.
  const std::string section = "\x83\x5D";
  const std::string file = "[" + section + "]\r\nK\x83\x61=1\r\n";
  EXPECT_EQ(get(file, section, "K\x83\x61"), "1");
  EXPECT_EQ(get(file, section, "K\x83\x41"), "");
  EXPECT_EQ(get(file, section, "K\x84\x61"), "");
  EXPECT_EQ(get("[S]\r\n\x83\x83" "a=1\r\n", "S", "\x83\x83" "A"), "1");  // after the pair, folds
  EXPECT_EQ(get("[\x83]\r\nK=1\r\n", "\x83", "K"), "");  // a lead byte and ']': no section
  EXPECT_EQ(get("[S]\r\nK\x83=1\r\n", "S", "K\x83"), "1");  // a lead byte ending a name
  // In a Unicode file no character pairs with the next: the letter after U+00E9 folds.
  const IniText unicode("\xFF\xFE" + utf16(u"[S]\r\n\u00e9a=1\r\n[\u00e9]\r\nK=2\r\n"), kPage);
  EXPECT_EQ(unicode.Get(L"S", L"\u00e9A"), L"1");
  EXPECT_EQ(unicode.Get(L"\u00e9", L"K"), L"2");
}

// Every encoding and line end the platform reads: read a value, set an existing key and add a
// new one, and compare the whole file byte for byte.
TEST(IniText, KeepsEachEncodingAndLineEnd) {
  const std::string bom8 = "\xEF\xBB\xBF", le = "\xFF\xFE", be = "\xFE\xFF";
  struct Case {
    const char* name;
    std::string before;
    std::string after;  // Color_0 set to " 255", Pos_X added as "-300"
  } cases[] = {
      {"ANSI, CR LF", "[Section]\r\nColor_0=1\r\nShape=2\r\n",
       "[Section]\r\nColor_0= 255\r\nShape=2\r\nPos_X=-300\r\n"},
      {"ANSI, LF", "[Section]\nColor_0=1\nShape=2\n",
       "[Section]\nColor_0= 255\nShape=2\nPos_X=-300\n"},
      {"ANSI, LF first", "\n[Section]\nColor_0=1\nShape=2\n",
       "\n[Section]\nColor_0= 255\nShape=2\nPos_X=-300\n"},
      {"ANSI, CR LF first", "\r\n[Section]\r\nColor_0=1\r\nShape=2\r\n",
       "\r\n[Section]\r\nColor_0= 255\r\nShape=2\r\nPos_X=-300\r\n"},
      {"ANSI, CR alone, unterminated", "[Section]\rColor_0=1\rShape=2",
       "[Section]\rColor_0= 255\rShape=2\rPos_X=-300\r"},
      // After the last LF, lines end at CR: new lines there must not join them.
      {"LF, then CR alone", "; note\n[Section]\rColor_0=1\rShape=2",
       "; note\n[Section]\rColor_0= 255\rShape=2\rPos_X=-300\r"},
      {"UTF-8 mark before the section", bom8 + "[Section]\r\nColor_0=1\r\nShape=2\r\n",
       bom8 + "[Section]\r\nColor_0= 255\r\nShape=2\r\nPos_X=-300\r\n"},
      {"UTF-16LE", le + utf16(u"[Section]\r\nColor_0=1\r\nShape=2\r\n"),
       le + utf16(u"[Section]\r\nColor_0= 255\r\nShape=2\r\nPos_X=-300\r\n")},
      {"UTF-16LE, CR alone", le + utf16(u"[Section]\rColor_0=1\rShape=2\r"),
       le + utf16(u"[Section]\rColor_0= 255\rShape=2\rPos_X=-300\r")},
      {"UTF-16BE", be + utf16(u"[Section]\nColor_0=1\nShape=2\n", false),
       be + utf16(u"[Section]\nColor_0= 255\nShape=2\nPos_X=-300\n", false)},
      {"UTF-16LE, stray last byte", le + utf16(u"[Section]\r\nColor_0=1\r\nShape=2\r\n") + "!",
       le + utf16(u"[Section]\r\nColor_0= 255\r\nShape=2\r\nPos_X=-300\r\n") + "!"},
      {"UTF-16LE, no section", le + utf16(u"[Other]\r\nX=1"),
       le + utf16(u"[Other]\r\nX=1\r\n[Section]\r\nColor_0= 255\r\nPos_X=-300\r\n")},
      {"UTF-8 mark alone", bom8, bom8 + "[Section]\r\nColor_0= 255\r\nPos_X=-300\r\n"},
      {"no file", "", "[Section]\r\nColor_0= 255\r\nPos_X=-300\r\n"},
  };
  for (const Case& c : cases) {
    IniText text(c.before, kPage);
    const bool hasShape = c.before.find("Shape") != std::string::npos ||
                          c.before.find(utf16(u"Shape")) != std::string::npos ||
                          c.before.find(utf16(u"Shape", false)) != std::string::npos;
    EXPECT_EQ(text.Get(L"Section", L"Shape"), hasShape ? L"2" : L"") << c.name;
    text.Set(L"Section", L"Color_0", L" 255");
    text.Set(L"Section", L"Pos_X", L"-300");
    EXPECT_EQ(text.Bytes(), c.after) << c.name;
    const IniText again(text.Bytes(), kPage);
    EXPECT_EQ(again.Get(L"section", L"COLOR_0"), L"255") << c.name;
    EXPECT_EQ(again.Get(L"Section", L"Pos_X"), L"-300") << c.name;
  }
}

TEST(IniText, UnicodeFilesHoldAnyText) {
  const std::wstring path = L"C:\\\u97f3\u697d\\\u76ee\u899a\u307e\u3057 \U0001F514.wav";
  for (const std::string& mark : {std::string("\xEF\xBB\xBF"), std::string("\xFF\xFE")}) {
    IniText text(mark + (mark.size() == 3 ? "[Section]\r\n" : utf16(u"[Section]\r\n")), kPage);
    text.Set(L"Section", L"Sound_F_0", path);
    const IniText again(text.Bytes(), kPage);
    EXPECT_EQ(again.Get(L"Section", L"Sound_F_0"), path);
  }
  IniText utf8("\xEF\xBB\xBF[Section]\r\n", kPage);
  utf8.Set(L"Section", L"A", L"\u97f3");
  EXPECT_EQ(utf8.Bytes(), "\xEF\xBB\xBF[Section]\r\nA=\xE9\x9F\xB3\r\n");
  // Malformed UTF-8 reads as replacement characters, not as lost or merged text.
  EXPECT_EQ(IniText("\xEF\xBB\xBF[S]\nA=x\xC3y\xE9\x9F\n", kPage).Get(L"S", L"A"),
            L"x\uFFFDy\uFFFD\uFFFD");
}

// UTF-8 at the edges of each length, read from a file with a mark and written into one; a byte
// that starts no valid sequence reads as U+FFFD, and a file without a mark is UTF-8 only when
// all of it is valid and some of it more than ASCII.
TEST(IniText, Utf8AtTheEdgesOfEachLength) {
  const struct { std::string bytes; std::wstring text; } rows[] = {
      {std::string(1, '\0'), std::wstring(1, L'\0')}, {"\x7F", L"\x7F"},
      {"\xC2\x80", L"\x80"}, {"\xDF\xBF", L"\x7FF"}, {"\xE0\xA0\x80", L"\x800"},
      {"\xED\x9F\xBF", L"\xD7FF"}, {"\xEE\x80\x80", L"\xE000"}, {"\xEF\xBF\xBF", L"\xFFFF"},
      {"\xF0\x90\x80\x80", L"\U00010000"}, {"\xF4\x8F\xBF\xBF", L"\U0010FFFF"},
      // Overlong, a surrogate, beyond U+10FFFF, no lead byte, cut short.
      {"\xC1\xBF", L"\xFFFD\xFFFD"}, {"\xE0\x9F\xBF", L"\xFFFD\xFFFD\xFFFD"},
      {"\xED\xA0\x80", L"\xFFFD\xFFFD\xFFFD"}, {"\xF0\x8F\xBF\xBF", std::wstring(4, L'\xFFFD')},
      {"\xF4\x90\x80\x80", std::wstring(4, L'\xFFFD')}, {"\xF5\x80", L"\xFFFD\xFFFD"},
      {"\xE2\x82", L"\xFFFD\xFFFD"}, {"\xE2\x41\x82", L"\xFFFD" L"A" L"\xFFFD"},
      {"\xED\xBF\xBF", L"\xFFFD\xFFFD\xFFFD"}, {"\xF1\x80\x80\x80", L"\U00040000"},
      {"\x81\x90\x80\x80", std::wstring(4, L'\xFFFD')},  // no lead byte, then three that follow one
      {"\xF8\x90\x80\x80", std::wstring(4, L'\xFFFD')},
  };
  const std::string bom = "\xEF\xBB\xBF";
  for (const auto& r : rows) {
    const std::string file = "[S]\nA=" + r.bytes + "\n";
    EXPECT_EQ(IniText(bom + file, kPage).Get(L"S", L"A"), r.text) << file;
    const bool valid = r.text.find(L'\xFFFD') == std::wstring::npos;
    const bool ascii = r.bytes.size() == 1;
    EXPECT_EQ(IniText(r.bytes + "=1\n" + file, kPage).Encoding(),
              valid && !ascii ? IniEncoding::Utf8 : IniEncoding::Ansi) << file;
    if (!valid) continue;
    IniText written(bom + "[S]\n", kPage);
    written.Set(L"S", L"A", r.text);
    EXPECT_EQ(written.Bytes(), bom + file);
  }
  // Cut short by the end of the file.
  EXPECT_EQ(IniText(bom + "[S]\nA=\xF0\x90", kPage).Get(L"S", L"A"), L"\xFFFD\xFFFD");
}

// A byte-order mark only when whole; a UTF-16 file's units either way round.
TEST(IniText, TheWholeMarkDecides) {
  const struct { std::string bytes; IniEncoding encoding; std::wstring value; } rows[] = {
      {"\xEF\xBB\xBF[S]\nA=1\n", IniEncoding::Utf8, L"1"},
      {"\xEF\xBB[S]\nA=1\n", IniEncoding::Ansi, L""},  // the first line is no section then
      {"\xFF[S]\nA=1\n", IniEncoding::Ansi, L""},
      {"\xFE[S]\nA=1\n", IniEncoding::Ansi, L""},
      {"\xFF\xFE" + utf16(u"\u97f3\n[S]\nA=\u97f3\u00e9\n"), IniEncoding::Utf16LE, L"\u97f3\u00e9"},
      {"\xFE\xFF" + utf16(u"\u97f3\n[S]\nA=\u97f3\u00e9\n", false), IniEncoding::Utf16BE,
       L"\u97f3\u00e9"},
  };
  for (const auto& r : rows) {
    const IniText text(r.bytes, kPage);
    EXPECT_EQ(text.Encoding(), r.encoding) << r.bytes;
    EXPECT_EQ(text.Get(L"S", L"A"), r.value) << r.bytes;
  }
}

// UTF-16 pairs and lone surrogates: as a UTF-16 file holds them, as they read (pairs joined,
// a lone one kept), and as a UTF-8 file takes them (a lone one as U+FFFD).
TEST(IniText, SurrogatesReadJoinedOrAlone) {
  const std::string fffd = "\xEF\xBF\xBD";
  const struct { std::u16string units; std::wstring text; std::string utf8; } rows[] = {
      {u"\xD800\xDC00", L"\U00010000", "\xF0\x90\x80\x80"},
      {u"\xDBFF\xDFFF", L"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
      {u"\xD7FF\xDC00", L"\xD7FF\xDC00", "\xED\x9F\xBF" + fffd},
      {u"\xDC00\xDFFF", L"\xDC00\xDFFF", fffd + fffd},
      {u"\xD800\xDBFF", L"\xD800\xDBFF", fffd + fffd},
      {u"\xDBFF\xE000", L"\xDBFF\xE000", fffd + "\xEE\x80\x80"},
  };
  const std::string le = "\xFF\xFE", bom8 = "\xEF\xBB\xBF";
  for (const auto& r : rows) {
    const std::string file = le + utf16(u"[S]\r\nA=" + r.units + u"\r\n");
    EXPECT_EQ(IniText(file, kPage).Get(L"S", L"A"), r.text);
    IniText unicode(le + utf16(u"[S]\r\n"), kPage), utf8(bom8 + "[S]\r\n", kPage);
    unicode.Set(L"S", L"A", r.text);
    utf8.Set(L"S", L"A", r.text);
    EXPECT_EQ(unicode.Bytes(), file);
    EXPECT_EQ(utf8.Bytes(), bom8 + "[S]\r\nA=" + r.utf8 + "\r\n");
  }
  IniText beyond(bom8 + "[S]\r\n", kPage);  // no code point is above U+10FFFF
  beyond.Set(L"S", L"A", std::wstring(1, static_cast<wchar_t>(0x110000)));
  EXPECT_EQ(beyond.Bytes(), bom8 + "[S]\r\nA=" + fffd + "\r\n");
}

// A value the code page cannot hold turns an ANSI file into UTF-16LE, all of it and for good;
// one it can hold leaves the file as it was, byte for byte.
TEST(IniText, AValueTheCodePageCannotHoldMakesTheFileUnicode) {
  const std::wstring path = L"Z:\\\u97f3\\a.wav";  // 音 is not in the test code page
  const std::string le = "\xFF\xFE";
  struct Case {
    const char* name;
    std::string before;
    std::string after;  // Sound_F_0 set to `path`, then Pos_X added as "-300"
  } cases[] = {
      {"CR LF, comment, other section, a code-page character",
       "; \xE9t\xE9\r\n[Section]\r\nSound_F_0=C:\\a.wav\r\n[Other]\r\nX=1\r\n",
       le + utf16(u"; \u00e9t\u00e9\r\n[Section]\r\nSound_F_0=Z:\\\u97f3\\a.wav\r\nPos_X=-300\r\n"
                  u"[Other]\r\nX=1\r\n")},
      {"LF, then CR alone", "; n\n[Section]\rA=1",
       le + utf16(u"; n\n[Section]\rA=1\rSound_F_0=Z:\\\u97f3\\a.wav\rPos_X=-300\r")},
      {"no file", "", le + utf16(u"[Section]\r\nSound_F_0=Z:\\\u97f3\\a.wav\r\nPos_X=-300\r\n")},
      {"UTF-8 holds it as it is", "\xEF\xBB\xBF[Section]\n",
       "\xEF\xBB\xBF[Section]\nSound_F_0=Z:\\\xE9\x9F\xB3\\a.wav\nPos_X=-300\n"},
  };
  for (const Case& c : cases) {
    IniText text(c.before, kPage);
    text.Set(L"Section", L"Sound_F_0", path);
    text.Set(L"Section", L"Pos_X", L"-300");
    EXPECT_EQ(text.Bytes(), c.after) << c.name;
    EXPECT_EQ(IniText(text.Bytes(), kPage).Get(L"Section", L"Sound_F_0"), path) << c.name;
  }
  // Names count as much as values; what the code page holds changes nothing.
  EXPECT_EQ(IniText(set("[S]\r\n", "S", "K\xE9", "\xE9"), kPage).Encoding(), IniEncoding::Ansi);
  IniText named("[S]\r\n", kPage);
  named.Set(L"S", L"\u266b", L"1");
  EXPECT_EQ(named.Bytes(), le + utf16(u"[S]\r\n\u266b=1\r\n"));
  IniText section("", kPage);
  section.Set(L"\u266b", L"K", L"1");
  EXPECT_EQ(section.Bytes(), le + utf16(u"[\u266b]\r\nK=1\r\n"));
  // Code-page bytes that the next read would take for UTF-8 keep the file as UTF-16 instead.
  IniText lookalike("[S]\r\n", kPage);
  lookalike.Set(L"S", L"K", L"\u00e3\u0082\u00af");
  EXPECT_EQ(lookalike.Encoding(), IniEncoding::Utf16LE);
  EXPECT_EQ(IniText(lookalike.Bytes(), kPage).Get(L"S", L"K"), L"\u00e3\u0082\u00af");

  // Through a code page of its own, where 0x83 0x41 is U+3041 and the other high bytes are
  // U+0180..U+01FF, so that U+0080 is beyond it: the file becomes UTF-16 as the page reads it.
  class OtherPage : public TestCodePage {
   public:
    std::string Encode(const std::wstring& text) const override {
      std::string out;
      for (wchar_t c : text) {
        if (c >= 0x3000 && c < 0x3100) out += '\x83';
        const bool high = (c >= 0x180 && c < 0x200) || (c >= 0x3000 && c < 0x3100);
        out += c < 0x80 || high ? static_cast<char>(c & 0xFF) : '?';
      }
      return out;
    }
    std::wstring Decode(const std::string& bytes) const override {
      std::wstring out;
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x83 && i + 1 < bytes.size())
          out += static_cast<wchar_t>(0x3000 + static_cast<unsigned char>(bytes[++i]));
        else
          out += static_cast<wchar_t>(b < 0x80 ? b : b + 0x100);
      }
      return out;
    }
  } other;
  IniText converted("; \x83\x41\xE9\r\n[S]\r\nA=1\r\n", other);
  converted.Set(L"S", L"K", L"\u0080");
  EXPECT_EQ(converted.Bytes(), le + utf16(u"; \u3041\u01E9\r\n[S]\r\nA=1\r\nK=\u0080\r\n"));
}

TEST(IniText, SetReplacesInPlaceAndAppendsAtTheEndOfTheSection) {
  struct Case {
    std::string before, key, value, after;
  } cases[] = {
      {"; kept\r\n[Section]\r\nColor_0=1\r\n; note\r\nShape= 1\r\n\r\n[Next]\r\nX=1\r\n", "SHAPE",
       " 0", "; kept\r\n[Section]\r\nColor_0=1\r\n; note\r\nShape= 0\r\n\r\n[Next]\r\nX=1\r\n"},
      {"[Section]\r\nA=1\r\n; trailing comment\r\n\r\n\r\n[Next]\r\nX=1\r\n", "Pos_X", "-300",
       "[Section]\r\nA=1\r\n; trailing comment\r\nPos_X=-300\r\n\r\n\r\n[Next]\r\nX=1\r\n"},
      {"[Section]\r\n", "A", "1", "[Section]\r\nA=1\r\n"},
      {"[Section]", "A", "1", "[Section]\r\nA=1\r\n"},
      {"[Section]\r\nA=1", "B", "2", "[Section]\r\nA=1\r\nB=2\r\n"},
      {"[Other]\r\nX=1", "A", "1", "[Other]\r\nX=1\r\n[Section]\r\nA=1\r\n"},
      {"[Section]\nA=1\nB=2\n", "A", "5", "[Section]\nA=5\nB=2\n"},
      {"[Section]\r\n  a = 1 \r\n", "A", "2", "[Section]\r\na=2\r\n"},
      {"[Section]\r\nA\r\nB=2\r\n", "A", "1", "[Section]\r\nA=1\r\nB=2\r\n"},  // no '=' yet
      {"[Section]\r\nA", "A", "1", "[Section]\r\nA=1"},
      {"[Other]\nX=1\n\n", "A", "1", "[Other]\nX=1\n\n[Section]\nA=1\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(set(c.before, "Section", c.key, c.value), c.after) << c.before;
  }
}

}  // namespace

// A file without a mark is UTF-8 when its bytes are valid UTF-8 with a multi-byte character
// (what Notepad saves), and keeps that encoding, still without a mark, when a value is set;
// code page 932 text fails the test and reads exactly as before.
TEST(IniText, UnmarkedUtf8IsToldFromCodePage932) {
  struct Case {
    const char* name;
    std::string value;  // the bytes of Sound_F_0's value
    IniEncoding encoding;
    std::wstring read;  // as Get returns it
  };
  const Case cases[] = {
      {"cp932 kanji", "\x90\xDD\x92\xE8\x95\xCF\x8DX", IniEncoding::Ansi, L""},
      {"cp932 path", "C:\\\x89\xB9\x8Ay\\\x92\xA9\x82\xCC\x83\x41\x83\x89\x81[\x83\x80.mp3",
       IniEncoding::Ansi, L""},
      {"cp932 kana and kanji", "\x96\xDA\x8Ao\x82\xDC\x82\xB5\x8E\x9E\x8Cv.wav",
       IniEncoding::Ansi, L""},
      {"cp932 half-width katakana", "\xC0\xBD\xB8\xC4\xDA\xB2", IniEncoding::Ansi, L""},
      {"cp932 half-width and kanji", "\xB1\xD7\xB0\xD1\x89\xB9", IniEncoding::Ansi, L""},
      {"cp932 starting like utf-8", "\xE3\x81\x82\xE3", IniEncoding::Ansi, L""},
      // The rare pair that is both: Notepad's rule reads it as UTF-8 too.
      {"cp932 that is also utf-8", "\xE3\x82\xAF", IniEncoding::Utf8, L"\x30AF"},
      {"utf-8 czech", "C:\\snd\\zvonek-\xC4\x8D.wav", IniEncoding::Utf8,
       L"C:\\snd\\zvonek-\x010D.wav"},
      {"utf-8 cyrillic", "C:\\snd\\\xD0\xB7\xD0\xB2\xD0\xBE\xD0\xBD\xD0\xBE\xD0\xBA.wav",
       IniEncoding::Utf8, L"C:\\snd\\\x0437\x0432\x043E\x043D\x043E\x043A.wav"},
      {"utf-8 emoji", "\xE2\x8F\xB0\xF0\x9F\x94\x94.wav", IniEncoding::Utf8,
       std::wstring(L"\x23F0") + (sizeof(wchar_t) == 2 ? L"\xD83D\xDD14" : L"\U0001F514") +
           L".wav"},
      {"utf-8 japanese", "\xE8\xA8\xAD\xE5\xAE\x9A", IniEncoding::Utf8, L"\x8A2D\x5B9A"},
      {"ascii only", "C:\\snd\\bell.wav", IniEncoding::Ansi, L"C:\\snd\\bell.wav"},
  };
  for (const auto& c : cases) {
    const std::string file = "[Tessarine]\r\nSound_F_0=" + c.value + "\r\nSound_C_0=1\r\n";
    IniText text(file, kPage);
    EXPECT_EQ(text.Encoding(), c.encoding) << c.name;
    const std::wstring read = text.Get(L"Tessarine", L"Sound_F_0");
    // An ANSI file reads through the code page, as it always did.
    EXPECT_EQ(read, c.encoding == IniEncoding::Ansi ? wide(c.value) : c.read) << c.name;
    text.Set(L"Tessarine", L"Sound_C_0", L"0");
    EXPECT_EQ(text.Bytes(), "[Tessarine]\r\nSound_F_0=" + c.value + "\r\nSound_C_0=0\r\n")
        << c.name;
  }
}
