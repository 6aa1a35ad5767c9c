// Helpers of the desktop tests: the mouse and the hotkey as a user gives them,
// pixels on the screen, the pop-up menu window, the icons in Wine's
// notification area, and how many GDI objects a process holds.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "BarHarness.h"

// In a namespace of their own: other harnesses of the same test program have
// helpers of the same names.
namespace desktop_test {

// Moves the cursor there, so that the windows under it see a mouse move.
void MoveMouse(int x, int y);
// Moves there in `steps` even steps from where the cursor is.
void GlideMouse(int x, int y, int steps = 8);
void LeftButton(bool down);
void RightButton(bool down);
// Presses and releases the left button twice, as a double click.
void DoubleClick();

// A visible window of the test process, put in front: it holds the input
// focus when the hotkey is pressed (under Wine a global hotkey reaches its
// program only while a window of the Wine session has the focus).
HWND FocusTestWindow();
// Hides it again, so that it covers nothing in later tests.
void HideTestWindow();
// Ctrl+Alt+S through the system's input queue.
void PressHotkey();
// A key through the system's input queue, to whatever has the focus.
void TapKey(WORD key);

using ::WaitFor;
void Pause(DWORD ms);

RECT WindowRect(HWND window);
RECT WorkArea();
int Width(const RECT& r);
int Height(const RECT& r);
std::string Describe(const RECT& r);  // "(l,t)-(r,b)"

// A point of the bar's own surface, clear of every control: the press there
// grabs the whole bar.
POINT Surface(const BarProcess& bar);
// Presses on the bar's surface, glides to `to` and lets go there.
void DragBar(const BarProcess& bar, POINT to);
bool WaitForRect(const BarProcess& bar, const std::function<bool(const RECT&)>& holds,
                 DWORD ms = 1000);
// The top-left corner of a window's client area on the screen.
POINT ClientOrigin(HWND window);
COLORREF ScreenPixel(int x, int y);

// The visible pop-up menu window ("#32768") of a process, if one is open.
HWND OpenPopupMenu(DWORD processId);
HWND WaitForPopupMenu(DWORD processId);

// The texts of the menu that popup menu window `popup` of `process` shows,
// item by item (a separator is empty), read inside that process by
// menutexts.dll, which this loads there once. Empty when it could not be read.
std::optional<std::vector<std::string>> PopupMenuTexts(HANDLE process, HWND popup);
// The texts of the menu that a button of the bar drops; the menu is then
// closed without a choice. A text in brackets says why none could be read.
std::vector<std::string> MenuOfButton(const BarProcess& bar, int button);

// Icons shown in Wine's own notification area (the "Wine System Tray" window
// that Wine's X11 driver opens when the X display has no tray of its own).
int WineTrayIconCount();

// GDI objects held by a process: GetGuiResources where the system has it,
// else Wine's GDI handle table, read from the process's memory. Empty when
// neither can be read.
std::optional<int> GdiObjectCount(HANDLE process);

}  // namespace desktop_test
