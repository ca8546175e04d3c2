#include <gtest/gtest.h>

#include "clock/zones.h"
#include "model/texts.h"

namespace {

const WindowsClock kMumbai{true, L"Mumbai", L"India Standard Time"};

TEST(Zones, TheFileOverridesWindowsAndAnUnsetFileFollowsIt) {
  struct Row {
    const wchar_t* key;
    const wchar_t* label;
    WindowsClock windows;
    ZoneChoice want;
  } rows[] = {
      {L"", L"", kMumbai, {L"India Standard Time", L"Mumbai"}},
      {L"", L"Bombay", kMumbai, {L"India Standard Time", L"Bombay"}},
      // Switched off in Windows, or set there without a zone: nothing to follow.
      {L"", L"", {false, L"Mumbai", L"India Standard Time"}, {}},
      {L"", L"", {true, L"Mumbai", L""}, {}},
      // Windows' clock without a name of its own goes by its zone's.
      {L"", L"", {true, L"", L"Tokyo Standard Time"}, {L"Tokyo Standard Time", L"Tokyo Standard Time"}},
      {L"-", L"London", kMumbai, {}},
      {L"GMT Standard Time", L"London", kMumbai, {L"GMT Standard Time", L"London"}},
      {L"GMT Standard Time", L"", {}, {L"GMT Standard Time", L"GMT Standard Time"}},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ChooseZone(r.key, r.label, r.windows), r.want) << r.key << "|" << r.label;

  Settings s;
  s.Zone = {L"-", L""};
  const auto zones = ChooseZones(s, {kMumbai, kMumbai});
  EXPECT_EQ(zones[0], ZoneChoice{});
  EXPECT_EQ(zones[1], (ZoneChoice{L"India Standard Time", L"Mumbai"}));
}

TEST(Zones, ALineSaysTheDayWhenItIsNotTodaysInEitherLanguage) {
  struct Row {
    int local[3], there[3], hour, minute;
    const wchar_t *ja, *en;
  } rows[] = {
      {{2026, 12, 9}, {2026, 12, 9}, 10, 5, L"ロンドン 10:05", L"ロンドン 10:05"},
      {{2026, 12, 9}, {2026, 12, 8}, 23, 49, L"ロンドン 23:49 (前日)", L"ロンドン 23:49 (yesterday)"},
      {{2026, 12, 31}, {2027, 1, 1}, 0, 30, L"ロンドン 0:30 (翌日)", L"ロンドン 0:30 (tomorrow)"},
      {{2027, 3, 1}, {2027, 2, 28}, 22, 0, L"ロンドン 22:00 (前日)", L"ロンドン 22:00 (yesterday)"},
      {{2028, 3, 1}, {2028, 2, 29}, 22, 0, L"ロンドン 22:00 (前日)", L"ロンドン 22:00 (yesterday)"},
  };
  for (const Row& r : rows) {
    const int shift = DayShift(r.local[0], r.local[1], r.local[2], r.there[0], r.there[1], r.there[2]);
    UseLanguage(ChooseLanguage(L"ja", 0x0411));
    EXPECT_EQ(ZoneLine(L"ロンドン", r.hour, r.minute, shift), r.ja);
    UseLanguage(ChooseLanguage(L"en", 0x0411));
    EXPECT_EQ(ZoneLine(L"ロンドン", r.hour, r.minute, shift), r.en);
  }
  UseLanguage(ChooseLanguage(L"ja", 0x0411));
}

TEST(Zones, OnlyWholeLinesJoinTheTip) {
  struct Row {
    const wchar_t* base;
    std::size_t room;
    const wchar_t* want;
  } rows[] = {
      {L"Tessarine", 63, L"Tessarine\nMumbai 10:19\nLondon 23:49 (yesterday)"},
      {L"Tessarine", 23, L"Tessarine\nMumbai 10:19"},
      {L"Tessarine", 21, L"Tessarine"},
      {L"", 12, L"Mumbai 10:19"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(WithLinesThatFit(r.base, {L"Mumbai 10:19", L"", L"London 23:49 (yesterday)"}, r.room),
              r.want)
        << r.room;
}

}  // namespace

namespace {

TEST(Zones, TheChooserListsWestToEastAndWritesOnlyWhatChanged) {
  std::vector<ZoneEntry> zones{{L"India Standard Time", L"(UTC+05:30) Mumbai", -330},
                               {L"GMT Standard Time", L"(UTC+00:00) London", 0},
                               {L"Greenwich Standard Time", L"(UTC+00:00) Monrovia", 0},
                               {L"Hawaiian Standard Time", L"(UTC-10:00) Hawaii", 600}};
  SortZones(zones);
  std::vector<std::wstring> order;
  for (const ZoneEntry& z : zones) order.push_back(z.key);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"Hawaiian Standard Time", L"GMT Standard Time",
                                              L"Greenwich Standard Time", L"India Standard Time"}));
  struct Row {
    const wchar_t* key;
    int want;
  } rows[] = {{L"", 0}, {L"-", 1}, {L"GMT Standard Time", 3}, {L"Mars Standard Time", -1}};
  for (const Row& r : rows) EXPECT_EQ(ZoneListIndex(r.key, zones), r.want) << r.key;

  Settings s;
  s.Zone = {L"", L"GMT Standard Time"};
  s.ZoneLabel = {L"", L"London"};
  EXPECT_TRUE(ZoneEdits(s, s.Zone, s.ZoneLabel).empty());
  const auto edits = ZoneEdits(s, {L"-", L"GMT Standard Time"}, {L"", L"ロンドン"});
  EXPECT_EQ(edits, (std::vector<std::pair<std::wstring, std::wstring>>{
                       {L"Zone_1", L"-"}, {L"Zone_2_Label", L"ロンドン"}}));
}

}  // namespace
