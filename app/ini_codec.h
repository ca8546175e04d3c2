// INI text codec over the file's raw bytes (the system's ANSI code page; nothing here decodes
// text). It follows the platform's private-profile rules closely enough that files written by
// either side read the same on the other, but writes keep the value exactly as given: the
// platform's own writer drops the leading blank of " 0", which our number form relies on.
#pragma once

#include <string>

// The value of `key` in `section`, or "" when the section or key is missing. Sections and keys
// match without regard to ASCII case; the first match wins. Blanks around the value are trimmed,
// one pair of matching surrounding quotes (" or ') is removed, and the result is cut to 255
// bytes without splitting a double-byte character.
std::string IniGet(const std::string& text, const std::string& section, const std::string& key);

// `text` with `key` in `section` set to `value`. An existing key's line becomes "key=value" in
// place; a missing key goes after the last non-blank line of its section; a missing section is
// appended at the end. New lines end in CRLF; every other line stays byte for byte.
std::string IniSet(const std::string& text, const std::string& section, const std::string& key,
                   const std::string& value);

// Longest prefix of `bytes` of at most `limit` bytes that does not end inside a double-byte
// character of code page 932.
std::string CutBytes(const std::string& bytes, std::size_t limit);
