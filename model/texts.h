// Every text the program shows or a screen reader hears, by id, in the user's language. Each
// language is one table in a file of its own under lang/ (a translator edits that file alone);
// the unit tests check that every table has every text, with the same placeholders and access
// keys that stay unique within each menu. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class Text : int {
  // The popup menu (the clock's and the tray icon's), with their access keys.
  MenuShowClock, MenuSettings, MenuTopMost, MenuToTray, MenuQuit,
  // The tray icon's tip.
  TrayTip,
  // Message boxes: the title, the settings file that cannot be written ("%1" its path), the
  // cleaner without memory.
  MessageTitle, IniUnwritable, CleanerShortage,
  // The sound-file chooser: its title and its filter's description.
  ChooserTitle, ChooserFilter,
  // The face of the dialog's font: one that has the language's characters.
  DialogFont,
  // The settings dialog: the title, the buttons, the version line ("%1" the version), the
  // group headings.
  DialogTitle, Ok, Cancel, Close, CloseTip, VersionLine,
  HeadingColours, HeadingShape, HeadingPreview, HeadingMemory, HeadingAlarms,
  // Colours: the clock's six and their reset.
  ColourBackground, ColourNumerals, ColourHourHand, ColourMinuteHand, ColourSecondHand,
  ColourPendulum, ColourReset,
  // Dial shapes.
  ShapeCircle, ShapeTall, ShapeWide,
  // Memory release: the pie's colours (and what names them for a reader), the button, the
  // filter, the figures' headings, the check's bars and their value labels ("%1" the number).
  GraphBackground, GraphTotal, GraphFree, GraphPercent, GraphName, FreeNow, Filter,
  Physical, Virtual, Total, Free, Interval, Limit, IntervalValue, LimitValue,
  // Alarms: the switch's states, a row's captions, what a reader calls the row ("%1" its
  // number), a track list on the whole disc, a path whose file is not found now.
  On, Off, HourUnit, MinuteUnit, Cd, Track, SoundFile, ChooseFile, Clear, PathCaption,
  AlarmName, NoTrack, PathMissing,
  // After the empty path of a sound-file alarm: it rings the chime.
  RingsChime,
  // What a reader hears of the clock: an alarm that is on ("%1" its time), one that rings.
  ClockAlarm, ClockRinging,
  // A reader's default actions.
  ActionPress, ActionCheck, ActionUncheck,
  // While an alarm rings: the popup menu's first entries (the same access keys in every
  // language), the entry that drops a pending snooze, and the ringing window's buttons ("%1"
  // the snooze's minutes).
  MenuSnooze, MenuStop, MenuCancelSnooze, RingSnooze, RingStop,
  // The next ring, in the tray icon's tip and the clock's value ("%1" its time, with its day
  // when it is not today); a snoozed one.
  NextAlarm, SnoozedAlarm,
  // The days of the week, Sunday first, as short as a check box's caption can hold.
  Sunday, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday,
  // An alarm's own settings window: the button that opens it from the alarm's row, its title
  // ("%1" the alarm's number), its captions and value labels, its buttons.
  OptionsButton, OptionsTitle, Days, Once, Label, Volume, VolumeValue, VolumeTest, FadeIn,
  FadeValue, Snooze, SnoozeValue, SnoozeShared, CdVolume, OptionsOk,
  // Why 試聴 is grey: an alarm rings, and its sound comes first.
  TestWhileRinging,
  // Beside the days: the last day stays, and the alarm's switch is what turns it off.
  DaysNote,
  // The command line: its help ("%1" the program's name) and a word it does not know ("%1").
  CommandHelp, CommandUnknown,
  // The menu's click-through entry, its opacity submenu and a step of it ("%1" the percent).
  MenuClickThrough, MenuOpacity, OpacityStep,
  // After another zone's time when its date is not today's here.
  ZoneYesterday, ZoneTomorrow,
  // The menu entry and the window that choose the other zones: its title, a clock's row ("%1"
  // its number), the name's caption, the list's first two choices, a zone Windows does not know.
  MenuZones, ZonesTitle, ZoneClock, ZoneLabel, ZoneFollow, ZoneNone, ZoneUnknown,
  // The hours' strike: the menu's switch and the entry that opens its window.
  MenuStrike, MenuStrikeWindow,
  // The strike's window: its title, its modes, the quiet hours ("%1" an hour).
  StrikeTitle, StrikeOff, StrikeOne, StrikeCount, StrikeHalf, StrikeQuarters, StrikeQuiet,
  StrikeFrom, StrikeTo, StrikeHourValue, StrikeTick,
  // The list of every alarm: the settings dialog's button that opens it (the window adds how
  // many of the list's own alarms are on), its title, buttons and columns, and the days of one that rings
  // every day. The alarm's own window, opened from the list, names its time and sound.
  MoreAlarms, ListTitle, ColumnAlarm, ListAdd, ListEdit, ListDelete, ColumnTime, ColumnDays, ColumnSound,
  EveryDay,
  Count
};

struct TextEntry {
  Text id;
  const wchar_t* text;
};

struct Language {
  const wchar_t* code;  // the settings file's "Language" value: "ja", "en"
  unsigned short primaryLangId;  // the Windows primary language it serves (LANG_JAPANESE 0x11)
  unsigned char charset;  // the character set its font is asked for (SHIFTJIS_CHARSET 128)
  const TextEntry* entries;
  std::size_t count;
};

// Every language the program has; the first is the one for any display language no table
// serves. English first, then Japanese.
const std::vector<const Language*>& Languages();

// The language for the settings file's "Language" value ("ja", "en", in any case; empty or
// unknown: automatic) and the user's Windows display language (a LANGID).
const Language& ChooseLanguage(const std::wstring& setting, unsigned short uiLanguage);

// The language texts come from from now on (Japanese until set).
void UseLanguage(const Language& language);
const Language& CurrentLanguage();

// A text of the current language.
const std::wstring& Tr(Text id);
// With "%1" replaced by `arg`.
std::wstring Tr(Text id, const std::wstring& arg);

// A day of the week's short name: 0 Sunday .. 6 Saturday.
Text DayName(int weekday);
// A time of day as the program writes it everywhere: "7:30", "0:05".
std::wstring ClockTime(int hour, int minute);

// A text of a given language; empty when its table lacks it.
std::wstring TextOf(const Language& language, Text id);
