#include "DialogHarness.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "settings/EngineCatalogue.h"

namespace {

constexpr size_t kRemoteTextChars = 4096;
// The block in the program: a structure, then a text buffer.
constexpr size_t kRemoteTextOffset = 256;
constexpr size_t kRemoteSize = kRemoteTextOffset + kRemoteTextChars * sizeof(wchar_t);

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Utf8(name);
}

}  // namespace

HWND WaitForOwnedDialog(DWORD processId, HWND owner, const std::string& caption, DWORD ms) {
  HWND found = nullptr;
  WaitFor([&] {
    for (HWND dialog : OwnedDialogs(processId, owner)) {
      if (!found && TextOf(dialog) == caption) found = dialog;
    }
    return found != nullptr;
  }, ms, 20);
  if (found) SyncWith(found);
  return found;
}

HWND OpenDialog(const BarProcess& bar, int command, const std::string& caption) {
  PostMessageW(bar.Bar(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
  return WaitForOwnedDialog(bar.ProcessId(), bar.Bar(), caption);
}

bool WaitUntilGone(HWND window, DWORD ms) {
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, ms, 20);
}

DialogSession::DialogSession(std::optional<std::string> ini, int command, std::string caption)
    : bar(std::move(ini)), command(command), caption(std::move(caption)) {
  if (bar.Started()) Open();
}

bool DialogSession::Open() {
  dialog = OpenDialog(bar, command, caption);
  driver = dialog ? std::make_unique<DialogDriver>(bar, dialog) : nullptr;
  return dialog != nullptr;
}

std::vector<std::pair<std::string, std::string>> DefaultEngineRows() {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const DefaultEngine& engine : kDefaultEngines) rows.emplace_back(engine.name, engine.searchCode);
  return rows;
}

// ---- DialogDriver.

void DialogDriver::SetText(int id, const std::string& utf8) const {
  std::wstring text = Wide(utf8);
  SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void DialogDriver::Click(int id) const {
  SendMessageW(Item(id), BM_CLICK, 0, 0);
  Sync();
}

void DialogDriver::ClickLater(int id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }

bool DialogDriver::Checked(int id) const {
  return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool DialogDriver::End(int button, DWORD ms) const {
  ClickLater(button);
  bool gone = WaitUntilGone(m_dialog, ms);
  m_bar.Sync();
  return gone;
}

void DialogDriver::MouseClick(HWND control, const RECT& clientRect) const {
  POINT point{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
  ClientToScreen(control, &point);
  // Two clicks close together in place and time make a double click: move
  // the second one aside.
  static POINT last{-100, -100};
  if (abs(point.x - last.x) < 10 && abs(point.y - last.y) < 10) point.x += (point.x > last.x - 10 ? -20 : 20);
  last = point;
  // Move there first, as a hand would, then press and release.
  int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = static_cast<LONG>((point.x * 65535 + screenWidth / 2) / (screenWidth - 1));
  move.mi.dy = static_cast<LONG>((point.y * 65535 + screenHeight / 2) / (screenHeight - 1));
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &move, sizeof move);
  Sleep(50);
  Sync();
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  SettleAfterInput(m_dialog);
  m_bar.Sync();
}

void DialogDriver::PressKeyIn(int controlId, WORD key) const {
  FocusControl(m_dialog, Item(controlId));
  PressKey(key);
}

void DialogDriver::PressKey(WORD key) const {
  SendKey(key);
  SettleAfterInput(m_dialog);
}

// ---- RemoteListView.

RemoteListView::RemoteListView(HANDLE process, HWND list) : m_process(process), m_list(list) {
  m_remote = static_cast<char*>(
      VirtualAllocEx(process, nullptr, kRemoteSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteListView::~RemoteListView() {
  if (m_remote) VirtualFreeEx(m_process, m_remote, 0, MEM_RELEASE);
}

int RemoteListView::Count() const { return static_cast<int>(SendMessageW(m_list, LVM_GETITEMCOUNT, 0, 0)); }

std::string RemoteListView::Text(int row, int column) const {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(m_remote + kRemoteTextOffset);
  item.cchTextMax = kRemoteTextChars;
  WriteProcessMemory(m_process, m_remote, &item, sizeof item, nullptr);
  LRESULT length = SendMessageW(m_list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                reinterpret_cast<LPARAM>(m_remote));
  std::wstring text(kRemoteTextChars, L'\0');
  ReadProcessMemory(m_process, m_remote + kRemoteTextOffset, text.data(), kRemoteTextChars * sizeof(wchar_t),
                    nullptr);
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return Utf8(text);
}

std::vector<std::vector<std::string>> RemoteListView::Rows(int columns) const {
  std::vector<std::vector<std::string>> rows;
  for (int row = 0, count = Count(); row < count; ++row) {
    std::vector<std::string> texts;
    for (int column = 0; column < columns; ++column) texts.push_back(Text(row, column));
    rows.push_back(texts);
  }
  return rows;
}

int RemoteListView::Image(int row) const {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = -12345;
  WriteProcessMemory(m_process, m_remote, &item, sizeof item, nullptr);
  SendMessageW(m_list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(m_remote));
  ReadProcessMemory(m_process, m_remote, &item, sizeof item, nullptr);
  return item.iImage;
}

std::vector<int> RemoteListView::Images() const {
  std::vector<int> images;
  for (int row = 0, count = Count(); row < count; ++row) images.push_back(Image(row));
  return images;
}

ListViewColumn RemoteListView::Column(int column) const {
  LVCOLUMNW data{};
  data.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  data.pszText = reinterpret_cast<LPWSTR>(m_remote + kRemoteTextOffset);
  data.cchTextMax = kRemoteTextChars;
  WriteProcessMemory(m_process, m_remote, &data, sizeof data, nullptr);
  wchar_t empty = 0;
  WriteProcessMemory(m_process, m_remote + kRemoteTextOffset, &empty, sizeof empty, nullptr);
  if (!SendMessageW(m_list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(m_remote))) {
    return {"<none>", -1, -1};
  }
  ReadProcessMemory(m_process, m_remote, &data, sizeof data, nullptr);
  std::wstring text(kRemoteTextChars, L'\0');
  ReadProcessMemory(m_process, m_remote + kRemoteTextOffset, text.data(), kRemoteTextChars * sizeof(wchar_t),
                    nullptr);
  text.resize(wcslen(text.c_str()));
  return {Utf8(text), data.cx, data.fmt & LVCFMT_JUSTIFYMASK};
}

RECT RemoteListView::RowRect(int row) const {
  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  WriteProcessMemory(m_process, m_remote, &rect, sizeof rect, nullptr);
  SendMessageW(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(m_remote));
  ReadProcessMemory(m_process, m_remote, &rect, sizeof rect, nullptr);
  return rect;
}

int RemoteListView::SelectionMark() const {
  return static_cast<int>(SendMessageW(m_list, LVM_GETSELECTIONMARK, 0, 0));
}

int RemoteListView::SelectedCount() const {
  return static_cast<int>(SendMessageW(m_list, LVM_GETSELECTEDCOUNT, 0, 0));
}

// ---- List boxes and combo boxes.

int ListBoxSelection(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void ClickListBoxEntry(const DialogDriver& dialog, int listId, int index) {
  ClickListEntry(dialog, dialog.Item(listId), index);
}

void ClickListEntry(const DialogDriver& dialog, HWND list, int index) {
  int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  if (index < top || (index - top + 1) * height > client.bottom) {
    // Scrolled into view first, as the user would.
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  }
  RECT entry{client.left, (index - top) * height, client.right - 4, (index - top + 1) * height};
  dialog.MouseClick(list, entry);
}

// ---- Message boxes.

namespace {

BOOL CALLBACK CollectMessageBoxParts(HWND child, LPARAM param) {
  auto* seen = reinterpret_cast<MessageBoxSeen*>(param);
  if (ClassOf(child) != "Static") return TRUE;
  LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
  if (type == SS_ICON) {
    seen->icon = child;
  } else if (std::string text = TextOf(child); !text.empty()) {
    seen->text = text;
  }
  return TRUE;
}

}  // namespace

std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId, HWND owner, DWORD ms) {
  std::vector<HWND> boxes;
  if (!WaitFor([&] { return !(boxes = OwnedDialogs(processId, owner)).empty(); }, ms, 20)) return std::nullopt;
  SyncWith(boxes.front());
  MessageBoxSeen seen;
  seen.window = boxes.front();
  seen.caption = TextOf(seen.window);
  EnumChildWindows(seen.window, CollectMessageBoxParts, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

void CloseMessageBox(const MessageBoxSeen& box) {
  PostMessageW(GetDlgItem(box.window, IDOK), BM_CLICK, 0, 0);
  WaitUntilGone(box.window);
}

// ---- The screen.

namespace {

// A 32-bit top-down DIB section and a memory DC holding it.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  DWORD* bits = nullptr;
  int width, height;

  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* memory = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<DWORD*>(memory);
    previous = SelectObject(dc, bitmap);
  }
  ~Canvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  ScreenImage Image() const {
    GdiFlush();
    ScreenImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(bits, bits + static_cast<size_t>(width) * height);
    for (DWORD& pixel : image.pixels) pixel &= 0x00FFFFFF;
    return image;
  }
};

}  // namespace

ScreenImage CaptureScreen(const RECT& screenRect) {
  int width = screenRect.right - screenRect.left, height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0) return {};
  Canvas canvas(width, height);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.dc, 0, 0, width, height, screen, screenRect.left, screenRect.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  return canvas.Image();
}

ScreenImage CaptureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return CaptureScreen(client);
}

ScreenImage RenderBitmap(HBITMAP bitmap, int width, int height) {
  Canvas canvas(width, height);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(source, bitmap);
  BitBlt(canvas.dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
  return canvas.Image();
}

ScreenImage RenderIcon(HICON icon, int width, int height, COLORREF background) {
  Canvas canvas(width, height);
  HBRUSH brush = CreateSolidBrush(background);
  RECT all{0, 0, width, height};
  FillRect(canvas.dc, &all, brush);
  DeleteObject(brush);
  DrawIconEx(canvas.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  return canvas.Image();
}

int CountPixels(const ScreenImage& image, DWORD rgb) {
  int count = 0;
  for (DWORD pixel : image.pixels) count += pixel == rgb;
  return count;
}

double MatchingShare(const ScreenImage& a, const ScreenImage& b, const std::function<bool(int x, int y)>& include) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 0;
  size_t counted = 0, equal = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (include && !include(x, y)) continue;
      ++counted;
      equal += a.At(x, y) == b.At(x, y);
    }
  }
  return counted ? static_cast<double>(equal) / counted : 0;
}

std::function<bool(int x, int y)> OutsideChildren(HWND window) {
  std::vector<RECT> children;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    children.push_back(rect);
  }
  return [children](int x, int y) {
    POINT point{x, y};
    for (const RECT& rect : children) {
      if (PtInRect(&rect, point)) return false;
    }
    return true;
  };
}

ScreenImage ProgramBitmap(int id, int width, int height) {
  static HMODULE program =
      LoadLibraryExW(Wide(ProgramFolder() + "\\Quarrow.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HBITMAP bitmap = LoadBitmapW(program, MAKEINTRESOURCEW(id));
  if (!bitmap) return {};
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  ScreenImage image;
  if (width == 0) {
    image = RenderBitmap(bitmap, size.bmWidth, size.bmHeight);
  } else {
    Canvas canvas(width, height);
    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(source, bitmap);
    StretchBlt(canvas.dc, 0, 0, width, height, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    ReleaseDC(nullptr, screen);
    image = canvas.Image();
  }
  DeleteObject(bitmap);
  return image;
}

void SaveScreenshot(HWND window, const std::string& name) {
  SyncWith(window);
  RECT rect{};
  GetWindowRect(window, &rect);
  SaveScreenshot(rect, name);
}

void SaveScreenshot(const RECT& rect, const std::string& name) {
  wchar_t folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"QUARROW_SCREENSHOTS", folder, MAX_PATH)) return;
  Sleep(300);  // let the last paint reach the screen
  ScreenImage image = CaptureScreen(rect);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = image.width;
  info.biHeight = -image.height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  DWORD bytes = static_cast<DWORD>(image.pixels.size() * sizeof(DWORD));
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + bytes;
  std::string bmp(reinterpret_cast<const char*>(&file), sizeof file);
  bmp.append(reinterpret_cast<const char*>(&info), sizeof info);
  bmp.append(reinterpret_cast<const char*>(image.pixels.data()), bytes);
  WriteFileBytes(Utf8(folder) + "\\" + name + ".bmp", bmp);
}

double BarLookShare(HWND bar, int bitmap) {
  SyncWith(bar);
  ScreenImage shown = CaptureClient(bar);
  ScreenImage expected = shown;
  if (bitmap) {
    expected = ProgramBitmap(bitmap, shown.width, shown.height);
  } else {
    for (DWORD& pixel : expected.pixels) pixel = kBarBlue;
  }
  return MatchingShare(shown, expected, OutsideChildren(bar));
}

::testing::AssertionResult BarShowsLook(HWND bar, int bitmap, double share) {
  double shown = 0;
  if (WaitFor([&] { return (shown = BarLookShare(bar, bitmap)) > share; }, 3000, 50)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "look " << bitmap << " on " << shown << " of the bar";
}
