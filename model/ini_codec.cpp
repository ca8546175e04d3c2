#include "model/ini_codec.h"

#include <algorithm>

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::size_t kValueLimit = 255;

// The platform's reader trims these around lines, names and values (0x1A is an old
// end-of-file mark that some editors leave behind).
bool isSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; }

char16_t foldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c; }

// ----- Unicode conversions. wchar_t is UTF-16 on Windows and UTF-32 elsewhere.

void appendCodePoint(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

std::u16string utf16FromWide(const std::wstring& w) {
  std::u16string out;
  out.reserve(w.size());
  for (wchar_t c : w) {
    const auto cp = static_cast<char32_t>(c);
    appendCodePoint(out, cp > 0x10FFFF ? 0xFFFD : cp);
  }
  return out;
}

// The code point at `u[i]`, a surrogate pair joined; `i` moves past it. A lone surrogate
// comes back as itself.
char32_t nextCodePoint(const std::u16string& u, std::size_t& i) {
  const char16_t c = u[i++];
  if (c >= 0xD800 && c < 0xDC00 && i < u.size() && u[i] >= 0xDC00 && u[i] < 0xE000)
    return 0x10000 + ((c - 0xD800) << 10) + (u[i++] - 0xDC00);
  return c;
}

std::wstring wideFromUtf16(const std::u16string& u) {
  if (sizeof(wchar_t) == 2) return std::wstring(u.begin(), u.end());
  std::wstring out;
  out.reserve(u.size());
  for (std::size_t i = 0; i < u.size();) out += static_cast<wchar_t>(nextCodePoint(u, i));
  return out;
}

std::string utf8FromUtf16(const std::u16string& u) {
  std::string out;
  for (std::size_t i = 0; i < u.size();) {
    char32_t cp = nextCodePoint(u, i);
    if (cp >= 0xD800 && cp < 0xE000) cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

// The length of the valid UTF-8 sequence at s[i] and its code point; 0 when none starts there.
std::size_t utf8Sequence(const std::string& s, std::size_t i, char32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  std::size_t len = 0;
  char32_t min = 0;
  cp = 0;
  if (b < 0x80) {
    len = 1, cp = b;
  } else if (b >= 0xC2 && b < 0xE0) {
    len = 2, cp = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b < 0xF0) {
    len = 3, cp = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b < 0xF5) {
    len = 4, cp = b & 0x07, min = 0x10000;
  }
  bool ok = len > 0 && i + len <= s.size();
  for (std::size_t k = 1; ok && k < len; ++k) {
    const auto t = static_cast<unsigned char>(s[i + k]);
    ok = (t & 0xC0) == 0x80;
    cp = (cp << 6) | (t & 0x3F);
  }
  ok = ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp < 0xE000);
  return ok ? len : 0;
}

// Malformed sequences become U+FFFD, one per byte that starts no valid sequence.
std::u16string utf16FromUtf8(const std::string& s) {
  std::u16string out;
  std::size_t i = 0;
  while (i < s.size()) {
    char32_t cp = 0;
    const std::size_t len = utf8Sequence(s, i, cp);
    appendCodePoint(out, len ? cp : 0xFFFD);
    i += len ? len : 1;
  }
  return out;
}

std::u16string widenBytes(const std::string& bytes) {
  std::u16string out(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), out.begin(),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
  return out;
}

std::string narrowUnits(const std::u16string& units) {
  std::string out(units.size(), '\0');
  std::transform(units.begin(), units.end(), out.begin(),
                 [](char16_t c) { return static_cast<char>(c); });
  return out;
}

}  // namespace

bool IsUtf8WithoutMark(const std::string& bytes) {
  bool multiByte = false;
  char32_t cp = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t len = utf8Sequence(bytes, i, cp);
    if (len == 0) return false;
    multiByte = multiByte || len > 1;
    i += len;
  }
  return multiByte;
}

IniText::IniText(std::string bytes, const AnsiCodePage& ansi) : ansi_(ansi) {
  auto startsWith = [&bytes](const char* mark, std::size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0;
  };
  if (startsWith("\xEF\xBB\xBF", 3)) {
    encoding_ = IniEncoding::Utf8;
    mark_ = bytes.substr(0, 3);
  } else if (startsWith("\xFF\xFE", 2)) {
    encoding_ = IniEncoding::Utf16LE;
    mark_ = bytes.substr(0, 2);
  } else if (startsWith("\xFE\xFF", 2)) {
    encoding_ = IniEncoding::Utf16BE;
    mark_ = bytes.substr(0, 2);
  } else if (IsUtf8WithoutMark(bytes)) {
    encoding_ = IniEncoding::Utf8;  // and written back so, without a mark
  }
  const std::string body = bytes.substr(mark_.size());
  bytes = std::string();

  if (encoding_ == IniEncoding::Ansi || encoding_ == IniEncoding::Utf8) {
    // Bytes of 8-bit text stand for themselves: nothing that shapes a line is ever part of a
    // multi-byte UTF-8 character, and double-byte characters are stepped over where it matters.
    units_ = widenBytes(body);
  } else {
    const bool little = encoding_ == IniEncoding::Utf16LE;
    units_.resize(body.size() / 2);
    for (std::size_t i = 0; i < units_.size(); ++i) {
      const auto a = static_cast<unsigned char>(body[2 * i]);
      const auto b = static_cast<unsigned char>(body[2 * i + 1]);
      units_[i] = static_cast<char16_t>(little ? (a | b << 8) : (a << 8 | b));
    }
    if (body.size() % 2) oddByte_ = body.substr(body.size() - 1);
  }

  // New lines take the file's first line end; a file without any gets CR LF.
  const std::size_t lf = units_.find(u'\n');
  if (lf != std::u16string::npos) {
    newline_ = (lf > 0 && units_[lf - 1] == u'\r') ? u"\r\n" : u"\n";
  } else {
    newline_ = units_.find(u'\r') != std::u16string::npos ? u"\r" : u"\r\n";
  }
  split();
}

// Like the platform: lines end at LF; once no LF is left, at CR. A file saved with CR alone
// therefore reads line by line, and a stray CR inside an LF file stays part of its line.
void IniText::split() {
  lines_.clear();
  const std::size_t lastLf = units_.rfind(u'\n');
  lfRegionEnd_ = lastLf == std::u16string::npos ? 0 : lastLf + 1;
  std::size_t pos = 0;
  while (pos < units_.size()) {
    std::size_t end, next;
    if (pos < lfRegionEnd_) {
      end = units_.find(u'\n', pos);
      next = end + 1;
      if (end > pos && units_[end - 1] == u'\r') --end;
    } else {
      end = units_.find(u'\r', pos);
      if (end == std::u16string::npos) end = units_.size();
      next = std::min(end + 1, units_.size());
    }
    lines_.push_back(classify(pos, end, next));
    pos = next;
  }
}

IniText::Line IniText::classify(std::size_t begin, std::size_t end, std::size_t next) const {
  Line line{begin, end, next, 0, 0, 0, 0, Kind::Blank};
  std::size_t b = begin, e = end;
  while (b < e && isSpace(units_[b])) ++b;
  while (e > b && isSpace(units_[e - 1])) --e;
  if (b == e) return line;

  if (units_[b] == u'[') {
    // The name runs to the last ']' that is not the second byte of a double-byte character.
    std::size_t close = kNone;
    for (std::size_t i = b + 1; i < e; ++i) {
      if (units_[i] == u']') close = i;
      if (dbcs() && units_[i] < 0x100 && ansi_.IsLeadByte(static_cast<unsigned char>(units_[i]))) ++i;
    }
    if (close != kNone) {
      line.kind = Kind::Section;
      line.nameBegin = b + 1;
      line.nameEnd = close;
      return line;
    }
  }
  line.kind = Kind::Entry;
  std::size_t eq = b;
  while (eq < e && units_[eq] != u'=') ++eq;
  line.nameBegin = b;
  line.nameEnd = eq;
  while (line.nameEnd > b && isSpace(units_[line.nameEnd - 1])) --line.nameEnd;
  line.valueBegin = line.valueEnd = e;
  if (eq < e) {
    line.valueBegin = eq + 1;
    while (line.valueBegin < e && isSpace(units_[line.valueBegin])) ++line.valueBegin;
  }
  return line;
}

bool IniText::sameName(std::size_t begin, std::size_t end, const std::u16string& name) const {
  if (end - begin != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char16_t a = units_[begin + i];
    if (dbcs() && a < 0x100 && ansi_.IsLeadByte(static_cast<unsigned char>(a)) && i + 1 < name.size()) {
      // A double-byte character matches exactly: its second byte may look like a letter.
      if (a != name[i] || units_[begin + i + 1] != name[i + 1]) return false;
      ++i;
    } else if (foldAscii(a) != foldAscii(name[i])) {
      return false;
    }
  }
  return true;
}

std::size_t IniText::findSection(const std::u16string& name) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Kind::Section && sameName(l.nameBegin, l.nameEnd, name)) return i;
  }
  return kNone;
}

std::size_t IniText::sectionEnd(std::size_t header) const {
  std::size_t last = header + 1;
  while (last < lines_.size() && lines_[last].kind != Kind::Section) ++last;
  return last;
}

std::size_t IniText::findKey(std::size_t header, std::size_t last, const std::u16string& key) const {
  for (std::size_t i = header + 1; i < last; ++i) {
    const Line& l = lines_[i];
    if (l.kind == Kind::Entry && sameName(l.nameBegin, l.nameEnd, key)) return i;
  }
  return kNone;
}

std::u16string IniText::toUnits(const std::wstring& text) const {
  switch (encoding_) {
    case IniEncoding::Ansi: return widenBytes(ansi_.Encode(text));
    case IniEncoding::Utf8: return widenBytes(utf8FromUtf16(utf16FromWide(text)));
    default: return utf16FromWide(text);
  }
}

std::wstring IniText::fromUnits(std::u16string units, std::size_t limit) const {
  if (encoding_ == IniEncoding::Ansi) {
    std::size_t n = 0;
    while (n < units.size()) {
      const bool lead = ansi_.IsLeadByte(static_cast<unsigned char>(units[n]));
      const std::size_t width = lead && n + 1 < units.size() ? 2 : 1;
      if (n + width > limit) break;
      n += width;
    }
    units.resize(n);
    return ansi_.Decode(narrowUnits(units));
  }
  if (encoding_ == IniEncoding::Utf8) units = utf16FromUtf8(narrowUnits(units));
  if (units.size() > limit) {
    const bool splitsPair = units[limit - 1] >= 0xD800 && units[limit - 1] < 0xDC00;
    units.resize(splitsPair ? limit - 1 : limit);
  }
  return wideFromUtf16(units);
}

std::wstring IniText::Get(const std::wstring& section, const std::wstring& key, bool whole) const {
  const std::size_t header = findSection(toUnits(section));
  if (header == kNone) return {};
  const std::size_t at = findKey(header, sectionEnd(header), toUnits(key));
  if (at == kNone) return {};
  std::size_t b = lines_[at].valueBegin, e = lines_[at].valueEnd;
  if (e - b >= 2 && (units_[b] == u'"' || units_[b] == u'\'') && units_[e - 1] == units_[b]) {
    ++b, --e;
  }
  return fromUnits(units_.substr(b, e - b), whole ? units_.size() : kValueLimit);
}

// Lines past the last LF end at a lone CR; an LF inserted among them would join them into
// one, so text going there ends its lines with CR as they do.
std::u16string IniText::newlineAt(std::size_t pos) const {
  if (newline_ == u"\r" || pos <= lfRegionEnd_) return newline_;
  const bool loneCrLines = units_.find(u'\r', lfRegionEnd_) < pos;
  return loneCrLines ? u"\r" : newline_;
}

bool IniText::ansiHolds(const std::wstring& text) const {
  const bool ascii = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
  // The code page's writer replaces what it lacks by a look-alike or '?': a round trip shows it.
  return ascii || ansi_.Decode(ansi_.Encode(text)) == text;
}

void IniText::becomeUtf16() {
  units_ = utf16FromWide(ansi_.Decode(narrowUnits(units_)));
  encoding_ = IniEncoding::Utf16LE;
  mark_ = "\xFF\xFE";
  split();
}

void IniText::Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  if (value == kIniRemove) {
    remove(toUnits(section), toUnits(key));
    return;
  }
  if (encoding_ == IniEncoding::Ansi &&
      !(ansiHolds(section) && ansiHolds(key) && ansiHolds(value))) {
    becomeUtf16();
  }
  const std::u16string sectionUnits = toUnits(section);
  const std::u16string keyUnits = toUnits(key);
  const std::u16string entry = keyUnits + u'=' + toUnits(value);
  const std::size_t header = findSection(sectionUnits);

  if (header == kNone) {
    const std::size_t at = units_.size();
    const std::u16string nl = newlineAt(at);
    const bool open = !lines_.empty() && lines_.back().next == lines_.back().end;
    units_ += (open ? nl : u"") + u'[' + sectionUnits + u']' + nl + entry + nl;
  } else {
    const std::size_t last = sectionEnd(header);
    const std::size_t at = findKey(header, last, keyUnits);
    if (at != kNone) {
      // The key keeps the file's spelling and the line its own end.
      const Line& l = lines_[at];
      const std::u16string spelt = units_.substr(l.nameBegin, l.nameEnd - l.nameBegin);
      units_.replace(l.begin, l.end - l.begin, spelt + u'=' + toUnits(value));
    } else {
      std::size_t after = header;
      for (std::size_t i = header + 1; i < last; ++i) {
        if (lines_[i].kind != Kind::Blank) after = i;
      }
      const Line& anchor = lines_[after];
      const std::u16string nl = newlineAt(anchor.next);
      const bool open = anchor.next == anchor.end;
      units_.insert(anchor.next, (open ? nl : u"") + entry + nl);
    }
  }
  split();
  // Code-page bytes that happen to form UTF-8 would be read as UTF-8 next time, and the value
  // would come back garbled: such a file is kept as UTF-16 instead, as for a value the code
  // page cannot hold.
  if (encoding_ == IniEncoding::Ansi && IsUtf8WithoutMark(narrowUnits(units_))) becomeUtf16();
}

void IniText::remove(const std::u16string& section, const std::u16string& key) {
  const std::size_t header = findSection(section);
  if (header == kNone) return;
  const std::size_t at = findKey(header, sectionEnd(header), key);
  if (at == kNone) return;
  units_.erase(lines_[at].begin, lines_[at].next - lines_[at].begin);
  split();
}

void IniText::Set(const std::wstring& section, const IniEntries& entries) {
  for (const auto& [key, value] : entries) Set(section, key, value);
}

std::string IniText::Bytes() const {
  std::string out = mark_;
  if (encoding_ == IniEncoding::Ansi || encoding_ == IniEncoding::Utf8) {
    out += narrowUnits(units_);
  } else {
    out.reserve(mark_.size() + 2 * units_.size() + oddByte_.size());
    const bool little = encoding_ == IniEncoding::Utf16LE;
    for (char16_t u : units_) {
      const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
      out += little ? lo : hi;
      out += little ? hi : lo;
    }
  }
  return out + oddByte_;
}
