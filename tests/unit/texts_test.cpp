#include <gtest/gtest.h>

#include <cwctype>
#include <set>

#include "model/texts.h"
#include "shell/popup_menu.h"

namespace {

std::size_t Count(const std::wstring& text, const std::wstring& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Every language has every text once, none empty, with the placeholders of the others.
TEST(Texts, EveryLanguageHasEveryTextAndNoOther) {
  const Language& reference = *Languages().back();
  for (const Language* l : Languages()) {
    std::set<int> ids;
    for (std::size_t k = 0; k < l->count; ++k) {
      const int id = static_cast<int>(l->entries[k].id);
      EXPECT_TRUE(id >= 0 && id < static_cast<int>(Text::Count)) << id;
      EXPECT_TRUE(ids.insert(id).second) << "text " << id << " twice in " << l->code;
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(Text::Count)) << l->code;
    for (int id = 0; id < static_cast<int>(Text::Count); ++id) {
      const std::wstring text = TextOf(*l, static_cast<Text>(id));
      EXPECT_FALSE(text.empty()) << "text " << id << " in " << l->code;
      EXPECT_EQ(Count(text, L"%1"), Count(TextOf(reference, static_cast<Text>(id)), L"%1"))
          << "text " << id << " in " << l->code;
    }
  }
}

// Each menu, as the clock and the tray icon show it while an alarm rings or not, has one access
// key per entry, each unique within that menu.
TEST(Texts, AccessKeysAreUniqueWithinEachMenu) {
  for (const Language* l : Languages()) {
    UseLanguage(*l);
    for (MenuPlace place : {MenuPlace::Clock, MenuPlace::Tray, MenuPlace::None})
      for (int state = 0; state < 4; ++state) {
        const bool ringing = state & 1, snoozing = state & 2;
        const auto tree = PopUpMenuTree();
        const auto shown = MenuVisibility(place, ringing, snoozing);
        std::set<wchar_t> keys;
        for (std::size_t i = 0; i < tree.size(); ++i) {
          const std::wstring caption = tree[i].caption;
          if (!shown[i] || caption == L"-") continue;
          EXPECT_EQ(Count(caption, L"&"), 1u) << l->code;
          const std::size_t at = caption.find(L'&');
          ASSERT_LT(at + 1, caption.size());
          EXPECT_TRUE(keys.insert(std::towupper(caption[at + 1])).second)
              << l->code << " ringing " << ringing << " snoozing " << snoozing;
        }
      }
  }
  UseLanguage(*Languages().back());
}

TEST(Texts, TheSettingChoosesOrTheDisplayLanguageDoes) {
  const struct {
    const wchar_t* setting;
    unsigned short ui;
    const wchar_t* want;
  } rows[] = {
      {L"", 0x0411, L"ja"},   {L"", 0x0409, L"en"},     {L"", 0x0804, L"en"},
      {L"", 0x0000, L"en"},   {L"ja", 0x0409, L"ja"},   {L"en", 0x0411, L"en"},
      {L"fr", 0x0411, L"ja"}, {L" JA", 0x0409, L"ja"},
  };
  for (const auto& r : rows)
    EXPECT_STREQ(ChooseLanguage(r.setting, r.ui).code, r.want) << r.setting << " " << r.ui;
  UseLanguage(ChooseLanguage(L"en", 0x0411));
  EXPECT_EQ(Tr(Text::IntervalValue, L"30"), L"30 min");
  UseLanguage(ChooseLanguage(L"", 0x0411));
  EXPECT_EQ(Tr(Text::IntervalValue, L"30"), L"30分");
}

}  // namespace
