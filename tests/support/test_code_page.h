// A stand-in for the system's ANSI code page in native tests and fuzzers: every byte is the
// character of the same number, and lead bytes are those of code page 932, so double-byte
// characters whose second byte looks like ']' or a letter still come up.
#pragma once

#include <string>

#include "model/ini_codec.h"

class TestCodePage : public AnsiCodePage {
 public:
  bool IsLeadByte(unsigned char c) const override {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
  }
  std::string Encode(const std::wstring& text) const override {
    std::string out;
    for (wchar_t c : text) out += c < 0x100 ? static_cast<char>(c) : '?';
    return out;
  }
  std::wstring Decode(const std::string& bytes) const override {
    std::wstring out;
    for (char c : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
  }
};
