#include "model/texts.h"

#include <array>
#include <deque>

extern const Language kEnglish;
extern const Language kJapanese;

namespace {

constexpr std::size_t kCount = static_cast<std::size_t>(Text::Count);

// A language's table by id, made once per language.
struct Indexed {
  const Language* language = nullptr;
  std::array<std::wstring, kCount> texts;
};

const Indexed& indexed(const Language& language) {
  static std::deque<Indexed> made;  // a deque: what Tr handed out stays where it is
  for (const Indexed& i : made)
    if (i.language == &language) return i;
  Indexed i;
  i.language = &language;
  for (std::size_t k = 0; k < language.count; ++k) {
    const auto at = static_cast<std::size_t>(language.entries[k].id);
    if (at < kCount) i.texts[at] = language.entries[k].text;
  }
  made.push_back(std::move(i));
  return made.back();
}

const Language* current = &kJapanese;

}  // namespace

const std::vector<const Language*>& Languages() {
  static const std::vector<const Language*> all{&kEnglish, &kJapanese};
  return all;
}

const Language& ChooseLanguage(const std::wstring& setting, unsigned short uiLanguage) {
  // As written by hand: blanks around it and capitals are forgiven.
  std::wstring code;
  for (wchar_t c : setting)
    if (c != L' ' && c != L'\t') code += (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  for (const Language* l : Languages())
    if (code == l->code) return *l;
  const unsigned short primary = uiLanguage & 0x3FF;
  for (const Language* l : Languages())
    if (l->primaryLangId == primary) return *l;
  return *Languages().front();
}

void UseLanguage(const Language& language) { current = &language; }

const Language& CurrentLanguage() { return *current; }

const std::wstring& Tr(Text id) {
  static const std::wstring none;
  const auto at = static_cast<std::size_t>(id);
  return at < kCount ? indexed(*current).texts[at] : none;
}

std::wstring Tr(Text id, const std::wstring& arg) {
  std::wstring text = Tr(id);
  const std::size_t at = text.find(L"%1");
  if (at != std::wstring::npos) text.replace(at, 2, arg);
  return text;
}

std::wstring TextOf(const Language& language, Text id) {
  const auto at = static_cast<std::size_t>(id);
  return at < kCount ? indexed(language).texts[at] : std::wstring();
}

Text DayName(int weekday) { return static_cast<Text>(static_cast<int>(Text::Sunday) + weekday); }

std::wstring ClockTime(int hour, int minute) {
  return std::to_wstring(hour) + (minute < 10 ? L":0" : L":") + std::to_wstring(minute);
}
