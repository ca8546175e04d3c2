#include "app/ini_codec.h"

#include <gtest/gtest.h>

namespace {

const std::string kFile =
    "; settings\r\n"
    "[Other]\r\n"
    "Shape=9\r\n"
    "\r\n"
    "[section]\r\n"
    "  Color_0 =  16777215 \r\n"
    "Shape= 2\r\n"
    "shape=7\r\n"
    ";Mem_Ival=5\r\n"
    "Quoted=\"a b\"\r\n"
    "Single='x'\r\n"
    "Lone=\"abc\r\n"
    "Tab=\t-1\t\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "[Section]\r\n"
    "Late=1\r\n";

TEST(IniGet, FollowsTheProfileRules) {
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Section", "Color_0", "16777215"},  // blanks around key and value trimmed
      {"SECTION", "shape", "2"},           // case-insensitive, first key wins
      {"Other", "Shape", "9"},
      {"Section", "Mem_Ival", ""},         // a comment is no key
      {"Section", "Quoted", "a b"},
      {"Section", "Single", "x"},
      {"Section", "Lone", "\"abc"},        // no matching quote: kept
      {"Section", "Tab", "-1"},
      {"Section", "Empty", ""},
      {"Section", "NoEquals", ""},
      {"Section", "Late", ""},             // only the first matching section counts
      {"Missing", "Shape", ""},
      {"Section", "Missing", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IniGet(kFile, c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
}

TEST(IniGet, ReadsLfOnlyAndUnterminatedFiles) {
  EXPECT_EQ(IniGet("[Section]\nA=1\nB=2", "Section", "A"), "1");
  EXPECT_EQ(IniGet("[Section]\nA=1\nB=2", "Section", "B"), "2");
  EXPECT_EQ(IniGet("", "Section", "A"), "");
}

TEST(IniGet, CutsLongValuesTo255Bytes) {
  const std::string longValue(300, 'x');
  EXPECT_EQ(IniGet("[S]\r\nK=" + longValue + "\r\n", "S", "K"), std::string(255, 'x'));

  // A double-byte character straddling the limit is dropped whole.
  const std::string kana = "\x83\x41";  // katakana "a" in code page 932
  std::string value(254, 'y');
  value += kana + "zz";
  EXPECT_EQ(IniGet("[S]\r\nK=" + value + "\r\n", "S", "K"), std::string(254, 'y'));
  EXPECT_EQ(CutBytes(std::string(253, 'y') + kana + "z", 255), std::string(253, 'y') + kana);
}

TEST(IniGet, DoubleByteNamesMatchExactly) {
  // 0x5D (']') and 0x61 ('a') can be trail bytes; they must not end the name or fold case.
  const std::string sectionName = "\x83\x5D";
  const std::string text = "[" + sectionName + "]\r\nK\x83\x61=1\r\n";
  EXPECT_EQ(IniGet(text, sectionName, "K\x83\x61"), "1");
  EXPECT_EQ(IniGet(text, sectionName, "K\x83\x41"), "");
}

TEST(IniSet, ReplacesInPlaceAndKeepsEverythingElse) {
  const std::string before =
      "; kept\r\n[Section]\r\nColor_0=1\r\n; note\r\nShape= 1\r\n\r\n[Next]\r\nX=1\r\n";
  EXPECT_EQ(IniSet(before, "SECTION", "SHAPE", " 0"),
            "; kept\r\n[Section]\r\nColor_0=1\r\n; note\r\nShape= 0\r\n\r\n[Next]\r\nX=1\r\n");
}

TEST(IniSet, AppendsMissingKeyAtTheEndOfItsSection) {
  const std::string before = "[Section]\r\nA=1\r\n; trailing comment\r\n\r\n\r\n[Next]\r\nX=1\r\n";
  EXPECT_EQ(IniSet(before, "Section", "Pos_X", "-300"),
            "[Section]\r\nA=1\r\n; trailing comment\r\nPos_X=-300\r\n\r\n\r\n[Next]\r\nX=1\r\n");
  EXPECT_EQ(IniSet("[Section]\r\n", "Section", "A", "1"), "[Section]\r\nA=1\r\n");
  EXPECT_EQ(IniSet("[Section]\r\nA=1", "Section", "B", "2"), "[Section]\r\nA=1\r\nB=2\r\n");
}

TEST(IniSet, AppendsMissingSectionAndCreatesContent) {
  EXPECT_EQ(IniSet("", "Section", "Shape", " 0"), "[Section]\r\nShape= 0\r\n");
  EXPECT_EQ(IniSet("[Other]\r\nX=1", "Section", "A", "1"), "[Other]\r\nX=1\r\n[Section]\r\nA=1\r\n");
  EXPECT_EQ(IniSet("[Other]\r\nX=1\r\n", "Section", "A", "1"),
            "[Other]\r\nX=1\r\n[Section]\r\nA=1\r\n");
}

TEST(IniSet, KeepsLineEndsOfLinesItDoesNotWrite) {
  EXPECT_EQ(IniSet("[Section]\nA=1\nB=2\n", "Section", "A", "5"), "[Section]\nA=5\nB=2\n");
  EXPECT_EQ(IniSet("[Section]\nA=1\n", "Section", "C", "3"), "[Section]\nA=1\nC=3\r\n");
}

TEST(IniSet, WhatItWritesReadsBack) {
  std::string text;
  text = IniSet(text, "Section", "Pos_X", " 1500");
  text = IniSet(text, "Section", "Sound_F_0", "C:\\\x89\xb9\\a b.wav");
  text = IniSet(text, "Section", "Pos_X", "-300");
  EXPECT_EQ(IniGet(text, "Section", "Pos_X"), "-300");
  EXPECT_EQ(IniGet(text, "Section", "Sound_F_0"), "C:\\\x89\xb9\\a b.wav");
}

}  // namespace
