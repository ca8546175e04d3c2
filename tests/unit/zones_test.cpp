#include <gtest/gtest.h>

#include "clock/zones.h"
#include "model/texts.h"

namespace {

TEST(Zones, TheFileOverridesWindowsAndAnUnsetFileFollowsIt) {
  const WindowsClock mumbai{true, L"Mumbai", L"India Standard Time"};
  struct Row {
    const wchar_t *key, *label;
    WindowsClock windows;
    ZoneChoice want;
  } rows[] = {
      {L"", L"", mumbai, {L"India Standard Time", L"Mumbai"}},
      {L"", L"Bombay", mumbai, {L"India Standard Time", L"Bombay"}},
      // Switched off in Windows, or set there without a zone: nothing to follow.
      {L"", L"", {false, L"Mumbai", L"India Standard Time"}, {}},
      {L"", L"", {true, L"Mumbai", L""}, {}},
      {L"", L"", {true, L"", L"Tokyo Standard Time"}, {L"Tokyo Standard Time", L"Tokyo Standard Time"}},
      {L"-", L"London", mumbai, {}},
      {L"GMT Standard Time", L"", {}, {L"GMT Standard Time", L"GMT Standard Time"}},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ChooseZone(r.key, r.label, r.windows), r.want) << r.key << "|" << r.label;
}

TEST(Zones, ALineSaysTheDayWhenItIsNotTodaysInEitherLanguageAndTheTipTakesWholeLines) {
  struct Row {
    int local[3], there[3];
    const wchar_t *ja, *en;
  } rows[] = {
      {{2026, 12, 9}, {2026, 12, 9}, L"ロンドン 23:05", L"ロンドン 23:05"},
      {{2027, 3, 1}, {2027, 2, 28}, L"ロンドン 23:05 (前日)", L"ロンドン 23:05 (yesterday)"},
      {{2026, 12, 31}, {2027, 1, 1}, L"ロンドン 23:05 (翌日)", L"ロンドン 23:05 (tomorrow)"},
  };
  for (const Row& r : rows) {
    const int shift = DayShift(r.local[0], r.local[1], r.local[2], r.there[0], r.there[1], r.there[2]);
    UseLanguage(ChooseLanguage(L"en", 0x0411));
    EXPECT_EQ(ZoneLine(L"ロンドン", 23, 5, shift), r.en);
    UseLanguage(ChooseLanguage(L"ja", 0x0411));
    EXPECT_EQ(ZoneLine(L"ロンドン", 23, 5, shift), r.ja);
  }
  const std::vector<std::wstring> lines{L"Mumbai 10:19", L"", L"London 23:49 (yesterday)"};
  EXPECT_EQ(WithLinesThatFit(L"Tessarine", lines, 63), L"Tessarine\nMumbai 10:19\nLondon 23:49 (yesterday)");
  EXPECT_EQ(WithLinesThatFit(L"Tessarine", lines, 23), L"Tessarine\nMumbai 10:19");
  EXPECT_EQ(WithLinesThatFit(L"Tessarine", lines, 21), L"Tessarine");
}

TEST(Zones, TheChooserListsWestToEastAndWritesOnlyWhatChanged) {
  std::vector<ZoneEntry> zones{{L"India Standard Time", L"(UTC+05:30) Mumbai", -330},
                               {L"GMT Standard Time", L"(UTC+00:00) London", 0},
                               {L"Hawaiian Standard Time", L"(UTC-10:00) Hawaii", 600}};
  SortZones(zones);
  EXPECT_EQ(zones[0].key + zones[2].key, L"Hawaiian Standard TimeIndia Standard Time");
  for (auto [key, want] : {std::pair{L"", 0}, {L"-", 1}, {L"GMT Standard Time", 3}, {L"Mars", -1}})
    EXPECT_EQ(ZoneListIndex(key, zones), want) << key;
  Settings s;
  s.Zone = {L"", L"GMT Standard Time"};
  s.ZoneLabel = {L"", L"London"};
  EXPECT_TRUE(ZoneEdits(s, s.Zone, s.ZoneLabel).empty());
  EXPECT_EQ(ZoneEdits(s, {L"-", L"GMT Standard Time"}, {L"", L"ロンドン"}),
            (std::vector<std::pair<std::wstring, std::wstring>>{{L"Zone_1", L"-"},
                                                                {L"Zone_2_Label", L"ロンドン"}}));
}

}  // namespace
