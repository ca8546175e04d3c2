// Helpers shared by the fuzz targets: the file's text as the platform splits it into lines.
#pragma once

#include <cstdlib>
#include <cstdio>
#include <string>
#include <vector>

#include "model/ini_codec.h"

#define FUZZ_CHECK(cond)                                                       \
  do {                                                                         \
    if (!(cond)) {                                                             \
      std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                            \
    }                                                                          \
  } while (0)

struct FuzzLine {
  std::u16string content;
  std::u16string end;  // "\r\n", "\n", "\r" or "" for an unterminated last line
};

// The file's units after its byte-order mark: bytes of an 8-bit file, UTF-16 units otherwise.
inline std::size_t FuzzUtf8Mark(const std::string& bytes) {
  return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
}

inline std::u16string FuzzUnits(const std::string& bytes, IniEncoding encoding) {
  std::u16string units;
  if (encoding == IniEncoding::Ansi) {
    for (char c : bytes) units += static_cast<char16_t>(static_cast<unsigned char>(c));
  } else if (encoding == IniEncoding::Utf8) {
    // UTF-8 is read with or without its mark.
    for (std::size_t i = FuzzUtf8Mark(bytes); i < bytes.size(); ++i) {
      units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
    }
  } else {
    const bool little = encoding == IniEncoding::Utf16LE;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
      units += static_cast<char16_t>(little ? (a | b << 8) : (a << 8 | b));
    }
  }
  return units;
}

// Lines end at LF while an LF is left, then at CR: the platform reader's rule, written out
// independently of the codec.
inline std::vector<FuzzLine> FuzzLines(const std::u16string& units) {
  std::vector<FuzzLine> lines;
  const std::size_t lastLf = units.rfind(u'\n');
  std::size_t pos = 0;
  while (pos < units.size()) {
    FuzzLine line;
    std::size_t stop;
    if (lastLf != std::u16string::npos && pos <= lastLf) {
      stop = units.find(u'\n', pos);
      line.end = u"\n";
      if (stop > pos && units[stop - 1] == u'\r') {
        --stop;
        line.end = u"\r\n";
      }
    } else {
      stop = units.find(u'\r', pos);
      if (stop == std::u16string::npos) stop = units.size();
      line.end = stop < units.size() ? u"\r" : u"";
    }
    line.content = units.substr(pos, stop - pos);
    pos = stop + line.end.size();
    lines.push_back(line);
  }
  return lines;
}
