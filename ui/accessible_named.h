// A real control (a list, a scroll bar, the edit box inside a list) on a window whose labels are
// drawn, not windows: the system would read it without a name, or by its text alone. A reader
// asks the control's own window when the focus moves there, so the window answers with the
// system's object for it under the name of the label drawn beside it (and the value the dialog
// reads out, where it has its own words for one). Nothing is made until a reader asks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Hooks `window`'s messages for as long as it lives. `role` (ROLE_SYSTEM_*) and `value`, when
// given, replace the system's for the control itself (not for its parts): not every system
// knows a list's window for a list. `state` adds STATE_SYSTEM_* bits the system's object may
// not know of (a check box's checked).
void NameForReaders(HWND window, std::wstring name, long role = 0,
                    std::function<std::wstring()> value = {},
                    std::function<long()> state = {});
