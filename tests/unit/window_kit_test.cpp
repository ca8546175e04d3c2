// The small windows' shared kit: what a reader is offered for each role, in each language's
// words, and the font every dialog-like window writes in.
#include <gtest/gtest.h>

#include "model/texts.h"
#include "model/window_texts.h"
#include "settings/alarm_options.h"

TEST(WindowKit, EachKindOfControlOffersTheReaderItsOwnAction) {
  namespace ao = alarm_options;
  const struct {
    ReaderRole role;
    bool checked;
    const wchar_t* ja;
    const wchar_t* en;
  } rows[] = {
      {ao::RoleOf(ao::Kind::DefaultButton), false, L"押す", L"Press"},
      {ReaderRole::RadioButton, true, L"ﾁｪｯｸ", L"Check"},
      {ao::RoleOf(ao::Kind::Check), false, L"ﾁｪｯｸ", L"Check"},
      {ao::RoleOf(ao::Kind::Check), true, L"ﾁｪｯｸ解除", L"Uncheck"},
      {ao::RoleOf(ao::Kind::Slider), false, L"", L""},
      {ao::RoleOf(ao::Kind::Edit), false, L"", L""},
      {ReaderRole::ComboBox, false, L"", L""},
  };
  for (const Language* l : Languages()) {
    UseLanguage(*l);
    const bool ja = std::wstring(l->code) == L"ja";
    for (const auto& r : rows)
      EXPECT_EQ(ActionText(DefaultActionOf(r.role, r.checked)), ja ? r.ja : r.en)
          << l->code << " role " << static_cast<int>(r.role);
    // Japanese text in a font with its characters, asked for in its character set.
    const FontSpec font = DialogFont();
    EXPECT_EQ(font.pixels, 13);
    EXPECT_EQ(font.face, ja ? L"ＭＳ Ｐゴシック" : L"Tahoma");
    EXPECT_EQ(font.charset == 128, ja) << l->code;
  }
  UseLanguage(*Languages().back());
}
