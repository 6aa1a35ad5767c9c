// Working the settings dialogs and the About box of a running Quarrow from
// outside, as a user would: find the dialog its command opened, read what its
// controls show (list views and list boxes through UTF-16 and memory in the
// program's process), type, click with the real mouse, and look at the screen.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BarHarness.h"

// ---- Windows and controls.

// TextOf and SyncWith are in BarHarness.h.
// Posts the bar's menu command and waits for the dialog with that caption.
HWND OpenDialog(const BarProcess& bar, int command, const std::string& caption);
// The visible dialog owned by `owner` with the caption, waiting up to `ms`.
HWND WaitForOwnedDialog(DWORD processId, HWND owner, const std::string& caption, DWORD ms = 5000);
bool WaitUntilGone(HWND window, DWORD ms = 5000);

class DialogDriver {
 public:
  DialogDriver(const BarProcess& bar, HWND dialog) : m_bar(bar), m_dialog(dialog) {}
  HWND Dialog() const { return m_dialog; }
  HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
  std::string Text(int id) const { return TextOf(Item(id)); }
  void SetText(int id, const std::string& text) const;
  // BM_CLICK, sent: for buttons whose handler returns at once.
  void Click(int id) const;
  // BM_CLICK, posted: for buttons that open a message box or end the dialog.
  void ClickLater(int id) const;
  bool Checked(int id) const;
  // Ends the dialog with a posted click of OK or Cancel, waits until it is
  // gone and the bar has handled what it did; false if it stayed.
  bool End(int button, DWORD ms = 5000) const;
  // The control of the dialog's thread that has the keyboard focus.
  HWND Focus() const { return FocusOf(m_dialog); }
  // A click of the left button at the centre of a rectangle of the client area
  // of `control`, through the system's input queue.
  void MouseClick(HWND control, const RECT& clientRect) const;
  void Sync() const { SyncWith(m_dialog); }
  // Brings the dialog to the front and focuses `control`, then types.
  void PressKeyIn(int controlId, WORD key) const;
  // Types into whatever has the focus.
  void PressKey(WORD key) const;

 private:
  const BarProcess& m_bar;
  HWND m_dialog;
};

// The bar, started with `ini`, and one of its dialogs opened by a menu
// command; the tests of each dialog build on it.
struct DialogSession {
  DialogSession(std::optional<std::string> ini, int command, std::string caption);
  // Opens the dialog (again, after End); false if it did not show.
  bool Open();
  bool Ready() const { return dialog != nullptr; }
  bool End(int button) const { return driver->End(button); }

  BarProcess bar;
  int command;
  std::string caption;
  HWND dialog = nullptr;
  std::unique_ptr<DialogDriver> driver;
};

// The ten built-in engines as (name, search code), as the engine dialog's
// "全部恢复默认" inserts them (the core's table, tested there).
std::vector<std::pair<std::string, std::string>> DefaultEngineRows();

// ---- A list view of another process.

struct ListViewColumn {
  std::string heading;
  int width;
  int format;
};

class RemoteListView {
 public:
  RemoteListView(HANDLE process, HWND list);
  ~RemoteListView();
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;

  HWND Item() const { return m_list; }
  int Count() const;
  std::string Text(int row, int column) const;
  // Columns 0 to 2 of every row.
  std::vector<std::vector<std::string>> Rows(int columns = 3) const;
  int Image(int row) const;
  std::vector<int> Images() const;
  ListViewColumn Column(int column) const;
  RECT RowRect(int row) const;  // client coordinates
  int SelectionMark() const;
  int SelectedCount() const;

 private:
  HANDLE m_process;
  HWND m_list;
  char* m_remote = nullptr;  // a block in the program's memory
};

// ---- List boxes and combo boxes.

// ListBoxItems and ComboItems are in BarHarness.h.
int ListBoxSelection(HWND list);
// Clicks entry `index` with the mouse (it must be in view).
void ClickListBoxEntry(const DialogDriver& dialog, int listId, int index);
// The same for any list box of the dialog's process (a dropped combo list).
void ClickListEntry(const DialogDriver& dialog, HWND list, int index);

// ---- Message boxes.

struct MessageBoxSeen {
  HWND window = nullptr;
  std::string caption, text;
  HWND icon = nullptr;  // the static that shows its icon
};
// A message box owned by `owner`, waiting up to `ms`.
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, HWND owner, DWORD ms = 5000);
// Closes it with its OK button.
void CloseMessageBox(const MessageBoxSeen& box);

// ---- The screen.

// The pixels of a rectangle of the screen, row by row, as 0x00RRGGBB.
struct ScreenImage {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
ScreenImage CaptureScreen(const RECT& screenRect);
ScreenImage CaptureClient(HWND window);
// A bitmap or icon drawn into an image of the given size over `background`.
ScreenImage RenderBitmap(HBITMAP bitmap, int width, int height);
ScreenImage RenderIcon(HICON icon, int width, int height, COLORREF background);
// Pixels of the colour `rgb` (as 0x00RRGGBB).
int CountPixels(const ScreenImage& image, DWORD rgb);
constexpr DWORD Rgb(BYTE r, BYTE g, BYTE b) { return (DWORD(r) << 16) | (DWORD(g) << 8) | b; }

// The share of the pixels of `a` that equal those of `b` at the same place,
// counting only the places where `include` (when given) says yes.
double MatchingShare(const ScreenImage& a, const ScreenImage& b,
                     const std::function<bool(int x, int y)>& include = nullptr);
// Whether client point (x, y) of `window` lies under none of its child windows.
std::function<bool(int x, int y)> OutsideChildren(HWND window);

// Bitmap `id` of Quarrow.exe's resources (loaded from the file, not the
// running program), drawn at its own size or stretched to `width` x `height`.
ScreenImage ProgramBitmap(int id, int width = 0, int height = 0);

// With QUARROW_SCREENSHOTS naming a folder, saves the window as it is on
// screen there as <name>.bmp (the documentation's pictures); else nothing.
void SaveScreenshot(HWND window, const std::string& name);
void SaveScreenshot(const RECT& rect, const std::string& name);  // a part of the screen

// The light blue of the bar's colour look, as 0x00RRGGBB.
constexpr DWORD kBarBlue = Rgb(217, 225, 247);
// The share of the bar's own surface (where no control lies) that shows its
// colour look (`bitmap` 0) or bitmap `bitmap` of the program stretched over
// it, as the bar paints its picture; read once, as the screen shows it when
// the bar has answered (after a BarShowsLook, the paint has arrived).
double BarLookShare(HWND bar, int bitmap);
// Whether more than `share` of that surface shows the look, read until it does
// for up to three seconds: Wine puts a paint on the screen a moment after the
// bar has made it, the later the busier the host. On failure, the last share.
::testing::AssertionResult BarShowsLook(HWND bar, int bitmap, double share = 0.9);
