#include "model/window_texts.h"

#include "model/texts.h"

FontSpec DialogFont() {
  return {Tr(Text::DialogFont), kDialogFontPixels, CurrentLanguage().charset};
}

std::wstring ActionText(ReaderAction action) {
  switch (action) {
    case ReaderAction::Press: return Tr(Text::ActionPress);
    case ReaderAction::Check: return Tr(Text::ActionCheck);
    case ReaderAction::Uncheck: return Tr(Text::ActionUncheck);
    case ReaderAction::None: break;
  }
  return L"";
}
