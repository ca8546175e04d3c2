#include "app/ini_codec.h"

#include <vector>

namespace {

// Lead bytes of code page 932. A trail byte may look like ']' or an ASCII letter, so scanning
// and case folding step over double-byte characters whole.
bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (foldAscii(a[i]) != foldAscii(b[i])) {
      return false;
    }
  }
  return true;
}

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

enum class LineKind { Blank, Comment, Section, Entry };

struct Line {
  std::size_t begin = 0;    // first byte of the line
  std::size_t end = 0;      // end of the content, before CR/LF
  std::size_t next = 0;     // first byte of the following line
  LineKind kind = LineKind::Blank;
  std::string name;         // section name or key, trimmed
  std::string value;        // entry value, trimmed
};

std::size_t findCloseBracket(const std::string& s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == ']') return i;
    if (isLeadByte(static_cast<unsigned char>(s[i]))) ++i;
  }
  return std::string::npos;
}

Line classify(const std::string& text, std::size_t begin, std::size_t end, std::size_t next) {
  Line line;
  line.begin = begin;
  line.end = end;
  line.next = next;
  const std::string content = trim(text.substr(begin, end - begin));
  if (content.empty()) {
    line.kind = LineKind::Blank;
  } else if (content[0] == ';') {
    line.kind = LineKind::Comment;
  } else if (content[0] == '[') {
    line.kind = LineKind::Section;
    const std::string inner = content.substr(1);
    line.name = trim(inner.substr(0, findCloseBracket(inner)));
  } else {
    const std::size_t eq = content.find('=');
    line.kind = LineKind::Entry;
    line.name = trim(content.substr(0, eq));
    if (eq != std::string::npos) line.value = trim(content.substr(eq + 1));
  }
  return line;
}

std::vector<Line> splitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t lf = text.find('\n', pos);
    const std::size_t next = lf == std::string::npos ? text.size() : lf + 1;
    std::size_t end = lf == std::string::npos ? text.size() : lf;
    if (end > pos && text[end - 1] == '\r') --end;
    lines.push_back(classify(text, pos, end, next));
    pos = next;
  }
  return lines;
}

// Index range [first, last) of the body of the first section named `section`; first is the
// header's index. Returns false when there is no such section.
bool findSection(const std::vector<Line>& lines, const std::string& section, std::size_t& header,
                 std::size_t& last) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind != LineKind::Section || !equalNoCase(lines[i].name, section)) continue;
    header = i;
    last = i + 1;
    while (last < lines.size() && lines[last].kind != LineKind::Section) ++last;
    return true;
  }
  return false;
}

std::size_t findKey(const std::vector<Line>& lines, std::size_t from, std::size_t to,
                    const std::string& key) {
  for (std::size_t i = from; i < to; ++i) {
    if (lines[i].kind == LineKind::Entry && equalNoCase(lines[i].name, key)) return i;
  }
  return std::string::npos;
}

std::string unquote(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

const char kCrLf[] = "\r\n";

}  // namespace

std::string CutBytes(const std::string& bytes, std::size_t limit) {
  if (bytes.size() <= limit) return bytes;
  std::size_t i = 0;
  while (i < limit) {
    const std::size_t width = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    if (i + width > limit) break;
    i += width;
  }
  return bytes.substr(0, i);
}

std::string IniGet(const std::string& text, const std::string& section, const std::string& key) {
  const std::vector<Line> lines = splitLines(text);
  std::size_t header = 0, last = 0;
  if (!findSection(lines, section, header, last)) return {};
  const std::size_t at = findKey(lines, header + 1, last, key);
  if (at == std::string::npos) return {};
  return CutBytes(unquote(lines[at].value), 255);
}

std::string IniSet(const std::string& text, const std::string& section, const std::string& key,
                   const std::string& value) {
  const std::vector<Line> lines = splitLines(text);
  const std::string entry = key + "=" + value;
  std::size_t header = 0, last = 0;
  if (!findSection(lines, section, header, last)) {
    std::string out = text;
    if (!out.empty() && out.back() != '\n') out += kCrLf;
    return out + "[" + section + "]" + kCrLf + entry + kCrLf;
  }

  const std::size_t at = findKey(lines, header + 1, last, key);
  if (at != std::string::npos) {
    // Keep the key as the file spells it and the line's own ending.
    const Line& line = lines[at];
    return text.substr(0, line.begin) + lines[at].name + "=" + value + text.substr(line.end);
  }

  std::size_t after = header;
  for (std::size_t i = header + 1; i < last; ++i) {
    if (lines[i].kind != LineKind::Blank) after = i;
  }
  const Line& anchor = lines[after];
  const bool terminated = anchor.next > anchor.end;
  return text.substr(0, anchor.next) + (terminated ? "" : kCrLf) + entry + kCrLf +
         text.substr(anchor.next);
}
