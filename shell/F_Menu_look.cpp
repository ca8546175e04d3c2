// The click-through entry and the opacity submenu, in both places the menu opens from.
#include "shell/F_Menu.h"

#include <string>

#include "model/texts.h"
#include "shell/look_menu.h"

namespace {

int PositionOf(HMENU menu, UINT item) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (GetMenuItemID(menu, i) == item) return i;
  return count;
}

}  // namespace

// Above the separator before 終了, with a separator of their own.
void F_Menu::addLookEntries() {
  const Settings& s = store_.Get();
  Menu steps(CreatePopupMenu());
  if (!steps) return;
  for (std::int16_t p : OpacitySteps())
    AppendMenuW(steps.get(), MF_STRING, static_cast<UINT_PTR>(OpacityItem(p)),
                Tr(Text::OpacityStep, std::to_wstring(p)).c_str());
  const auto last = static_cast<UINT>(OpacityItem(kFaintest));
  CheckMenuRadioItem(steps.get(), kMenuOpacityFirst, last,
                     static_cast<UINT>(OpacityItem(s.Opacity)), MF_BYCOMMAND);
  int at = PositionOf(mnuPopUp_, static_cast<UINT>(MenuItem::mnuQuit));
  InsertMenuW(mnuPopUp_, at++, MF_BYPOSITION | MF_STRING | (s.ClickThrough ? MF_CHECKED : 0),
              kMenuClickThrough, Tr(Text::MenuClickThrough).c_str());
  if (InsertMenuW(mnuPopUp_, at++, MF_BYPOSITION | MF_POPUP,
                  reinterpret_cast<UINT_PTR>(steps.get()), Tr(Text::MenuOpacity).c_str()))
    steps.release();  // the menu destroys it with itself
  InsertMenuW(mnuPopUp_, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

// The store tells the application, which lays the clock and the tray icon out anew.
void F_Menu::lookEntry_Click(UINT chosen) {
  if (chosen == kMenuClickThrough) {
    Unload();  // its check mark is stale now
    store_.SetClickThrough(store_.Get().ClickThrough ? 0 : -1);
  } else if (const auto opacity = OpacityOfItem(static_cast<int>(chosen))) {
    Unload();
    store_.SetOpacity(*opacity);
  }
}
