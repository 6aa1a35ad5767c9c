#include "DesktopHarness.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "tools/menutexts/MenuTexts.h"

namespace desktop_test {
namespace {

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

// ---- Wine's GDI handle table.
//
// Wine keeps every GDI object of a process in one table of 65536 entries in
// that process's memory; an entry in use has a non-zero type. The table's
// address is in the 64-bit process block. A 64-bit process has only that
// block; a 32-bit one finds it at a fixed distance from its 32-bit block (the
// distance is read in this process, whose layout is the same).

#pragma pack(push, 1)
struct WineGdiEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(WineGdiEntry) == 24);

constexpr size_t kWineGdiEntries = 0x10000;
constexpr size_t kTeb32GdiBatchCount = 0xF70;  // Wine keeps the 64-bit TEB's address here
constexpr size_t kTeb64Peb = 0x60;
constexpr size_t kPeb64GdiTable = 0xF8;

using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

std::optional<std::uintptr_t> ProcessBlock(HANDLE process) {
  auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query) return std::nullopt;
  PROCESS_BASIC_INFORMATION info{};
  ULONG length = 0;
  if (query(process, ProcessBasicInformation, &info, sizeof info, &length) != 0) return std::nullopt;
  return reinterpret_cast<std::uintptr_t>(info.PebBaseAddress);
}

// This thread's block, asked of ntdll (GCC 12 takes NtCurrentTeb's read of
// fs:0 for an access out of bounds and warns).
const char* ThreadBlock() {
  struct BasicInformation {
    LONG exitStatus;
    void* block;
    void* ids[2];
    ULONG_PTR affinity;
    LONG priority, basePriority;
  } info{};
  using QueryThread = LONG(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryThread>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  if (!query || query(GetCurrentThread(), 0, &info, sizeof info, nullptr) != 0) return nullptr;
  return static_cast<const char*>(info.block);
}

// Distance from the 64-bit process block to the 32-bit one, in this process.
std::optional<std::uintptr_t> WineBlockDistance() {
  if (sizeof(void*) == 8) return 0;
  const char* teb = ThreadBlock();
  auto peb32 = ProcessBlock(GetCurrentProcess());
  if (!teb || !peb32) return std::nullopt;
  std::uint32_t teb64 = 0;
  std::memcpy(&teb64, teb + kTeb32GdiBatchCount, sizeof teb64);
  if (!teb64) return std::nullopt;
  std::uint64_t peb64 = 0;
  std::memcpy(&peb64, reinterpret_cast<const char*>(static_cast<std::uintptr_t>(teb64)) + kTeb64Peb,
              sizeof peb64);
  if (!peb64 || peb64 > *peb32) return std::nullopt;
  return *peb32 - static_cast<std::uintptr_t>(peb64);
}

std::optional<int> WineGdiObjectCount(HANDLE process) {
  auto distance = WineBlockDistance();
  auto peb32 = ProcessBlock(process);
  if (!distance || !peb32) return std::nullopt;
  std::uint64_t table = 0;
  SIZE_T read = 0;
  auto* tableField = reinterpret_cast<void*>(*peb32 - *distance + kPeb64GdiTable);
  if (!ReadProcessMemory(process, tableField, &table, sizeof table, &read) || !table) {
    return std::nullopt;
  }
  std::vector<WineGdiEntry> entries(kWineGdiEntries);
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(static_cast<std::uintptr_t>(table)),
                         entries.data(), entries.size() * sizeof(WineGdiEntry), &read)) {
    return std::nullopt;
  }
  int inUse = 0;
  for (const WineGdiEntry& entry : entries) inUse += entry.type != 0;
  return inUse;
}

}  // namespace

void MoveMouse(int x, int y) {
  SetCursorPos(x, y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;  // a move of nothing: the windows hear of the new place
  SendInput(1, &input, sizeof input);
  Pause(30);
}

void GlideMouse(int x, int y, int steps) {
  POINT from{};
  GetCursorPos(&from);
  for (int i = 1; i <= steps; ++i) {
    MoveMouse(from.x + (x - from.x) * i / steps, from.y + (y - from.y) * i / steps);
  }
}

void LeftButton(bool down) {
  SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  Pause(50);
}

void RightButton(bool down) {
  SendMouse(down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
  Pause(50);
}

void DoubleClick() {
  for (int i = 0; i < 2; ++i) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Pause(40);
  }
  Pause(100);
}

namespace {

HWND TestWindow() {
  static HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"desktop test", WS_POPUP,
                                       1100, 700, 120, 60, nullptr, nullptr, GetModuleHandleW(nullptr),
                                       nullptr);
  return window;
}

}  // namespace

HWND FocusTestWindow() {
  HWND window = TestWindow();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  WaitFor([window] { return GetForegroundWindow() == window; }, 1000);
  return window;
}

void HideTestWindow() { ShowWindow(TestWindow(), SW_HIDE); }

void PressHotkey() {
  SendKey('S', true, true);
  SettleAfterInput();
}

void TapKey(WORD key) {
  SendKey(key);
  SettleAfterInput();
}

void Pause(DWORD ms) {
  WaitFor([] { return false; }, ms);
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

std::string Describe(const RECT& r) {
  char text[64];
  snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

POINT Surface(const BarProcess& bar) {
  POINT origin = ClientOrigin(bar.Bar());
  return {origin.x + 5, origin.y + 5};
}

void DragBar(const BarProcess& bar, POINT to) {
  POINT from = Surface(bar);
  MoveMouse(from.x, from.y);
  LeftButton(true);
  GlideMouse(to.x, to.y);
  LeftButton(false);
  bar.Sync();
}

bool WaitForRect(const BarProcess& bar, const std::function<bool(const RECT&)>& holds, DWORD ms) {
  return WaitFor([&] { return holds(WindowRect(bar.Bar())); }, ms);
}

POINT ClientOrigin(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return origin;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF pixel = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return pixel;
}

HWND OpenPopupMenu(DWORD processId) {
  std::vector<HWND> menus = FindWindows({.processId = processId, .className = "#32768", .visibleOnly = true});
  return menus.empty() ? nullptr : menus.front();
}

HWND WaitForPopupMenu(DWORD processId) {
  HWND menu = nullptr;
  WaitFor([&] { return (menu = OpenPopupMenu(processId)) != nullptr; });
  return menu;
}

namespace {

// The base of module `name` in `process`, or null.
HMODULE RemoteModule(HANDLE process, const wchar_t* name) {
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) return nullptr;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
    wchar_t base[MAX_PATH] = {};
    if (GetModuleBaseNameW(process, modules[i], base, MAX_PATH) && lstrcmpiW(base, name) == 0) return modules[i];
  }
  return nullptr;
}

// Runs `function` of this process's copy of a module at the same place in
// `process`'s copy, with `parameter` (an address there), and waits for it.
bool RunRemotely(HANDLE process, HMODULE local, HMODULE remote, FARPROC function, void* parameter) {
  if (!function) return false;  // never a thread at an address that is no function
  auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<UINT_PTR>(remote) +
                                                        (reinterpret_cast<UINT_PTR>(function) -
                                                         reinterpret_cast<UINT_PTR>(local)));
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, start, parameter, 0, nullptr);
  if (!thread) return false;
  bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
  DWORD code = 1;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  return ended && code == 0;
}

// menutexts.dll in `process`, loaded there by LoadLibraryW in a thread of its own.
HMODULE MenuTextsIn(HANDLE process, const std::wstring& path) {
  if (HMODULE loaded = RemoteModule(process, L"menutexts.dll")) return loaded;
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  HMODULE remoteKernel = RemoteModule(process, L"kernel32.dll");
  const size_t size = (path.size() + 1) * sizeof(wchar_t);
  void* text = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remoteKernel || !text) return nullptr;
  WriteProcessMemory(process, text, path.c_str(), size, nullptr);
  // LoadLibraryW answers the module's address, not 0: its exit code is not a verdict.
  RunRemotely(process, kernel, remoteKernel, GetProcAddress(kernel, "LoadLibraryW"), text);
  VirtualFreeEx(process, text, 0, MEM_RELEASE);
  return RemoteModule(process, L"menutexts.dll");
}

}  // namespace

std::optional<std::vector<std::string>> PopupMenuTexts(HANDLE process, HWND popup) {
  const HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
  const std::wstring path = Wide(ProgramFolder() + "\\menutexts.dll");
  static HMODULE local = LoadLibraryW(path.c_str());
  HMODULE remote = MenuTextsIn(process, path);
  if (!menu || !local || !remote) return std::nullopt;
  auto* block = static_cast<MenuTextsBlock*>(
      VirtualAllocEx(process, nullptr, sizeof(MenuTextsBlock), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!block) return std::nullopt;
  auto read = std::make_unique<MenuTextsBlock>();
  read->menu = reinterpret_cast<UINT_PTR>(menu);
  WriteProcessMemory(process, block, read.get(), sizeof read->menu, nullptr);
  bool ran = RunRemotely(process, local, remote, GetProcAddress(local, "ReadMenuTexts"), block);
  ReadProcessMemory(process, block, read.get(), sizeof(MenuTextsBlock), nullptr);
  VirtualFreeEx(process, block, 0, MEM_RELEASE);
  if (!ran) return std::nullopt;
  std::vector<std::string> texts;
  std::wstring all(read->texts);
  for (size_t start = 0, end; (end = all.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    texts.push_back(Utf8(all.substr(start, end - start)));
  }
  return texts;
}

std::vector<std::string> MenuOfButton(const BarProcess& bar, int button) {
  bar.FocusQueryBox();
  bar.ClickLater(button);
  HWND popup = WaitForPopupMenu(bar.ProcessId());
  if (!popup) return {"(no menu showed)"};
  auto texts = PopupMenuTexts(bar.ProcessHandle(), popup);
  PostMessageW(bar.Bar(), WM_CANCELMODE, 0, 0);
  WaitFor([&] { return !OpenPopupMenu(bar.ProcessId()); });
  return texts.value_or(std::vector<std::string>{"(the menu could not be read)"});
}

int WineTrayIconCount() {
  return static_cast<int>(
      FindWindows({.className = "__winex11_tray_icon", .visibleOnly = true, .withChildren = true}).size());
}

std::optional<int> GdiObjectCount(HANDLE process) {
  SetLastError(0);
  DWORD count = GetGuiResources(process, GR_GDIOBJECTS);
  if (count) return static_cast<int>(count);
  return WineGdiObjectCount(process);  // Wine's GetGuiResources is a stub that answers 0
}

}  // namespace desktop_test
