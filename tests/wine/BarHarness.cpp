#include "BarHarness.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "TestText.h"
#include "settings/EngineCatalogue.h"
#include "settings/win/SystemGbk.h"

namespace {

struct WindowSearch {
  const WindowFilter& filter;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  const WindowFilter& filter = search->filter;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if ((!filter.processId || processId == filter.processId) &&
      (!filter.className || Utf8(name) == filter.className) &&
      (!filter.visibleOnly || IsWindowVisible(window))) {
    search->found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectMatchingWithChildren(HWND window, LPARAM param) {
  CollectMatching(window, param);
  EnumChildWindows(window, CollectMatching, param);
  return TRUE;
}

// Every top-level dialog window of the process.
std::vector<HWND> DialogsOf(DWORD processId) {
  return FindWindows({.processId = processId, .className = "#32770"});
}

}  // namespace

std::vector<HWND> FindWindows(const WindowFilter& filter) {
  WindowSearch search{filter, {}};
  EnumWindows(filter.withChildren ? CollectMatchingWithChildren : CollectMatching,
              reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// ---- Files, folders and the registry of the tests.

std::string NewTempFolder(const std::string& tag) {
  wchar_t base[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    std::string name = Utf8(base) + "quarrow-" + (tag.empty() ? "" : tag + "-") +
                       std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryW(Wide(name).c_str(), nullptr)) return name;
  }
}

bool RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = Utf8(entry.cFileName);
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Wide(path).c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  return RemoveDirectoryW(Wide(folder).c_str());
}

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void SetRegistryText(HKEY root, const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) == 0) {
    std::wstring text = Wide(value);
    RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(handle);
  }
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms, DWORD pollMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (condition()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(pollMs);
  }
}

bool FocusControl(HWND window, HWND control) {
  // Under Wine the X server settles the foreground a moment later, and a
  // window of an earlier test that is going away can still take it: ask
  // again until the window holds it and its thread's focus is the control.
  DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
  DWORD ownThread = GetCurrentThreadId();
  auto focused = [&] {
    HWND focus = FocusOf(window);
    return focus && (focus == control || IsChild(control, focus));
  };
  return WaitFor([&] {
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
    if (!focused()) {
      // Focus is per thread: attach to the window's input queue to move it.
      AttachThreadInput(ownThread, windowThread, TRUE);
      SetFocus(control);
      AttachThreadInput(ownThread, windowThread, FALSE);
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    return GetForegroundWindow() == window && focused();
  });
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void SendKey(WORD key, bool ctrl, bool alt) {
  std::vector<INPUT> inputs;
  // The grey navigation keys are extended keys; without the flag they would
  // be the number pad's.
  const bool extended = key == VK_END || key == VK_HOME || key == VK_LEFT || key == VK_RIGHT || key == VK_UP ||
                        key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_INSERT ||
                        key == VK_DELETE;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == key && extended ? KEYEVENTF_EXTENDEDKEY : 0);
    inputs.push_back(input);
  };
  if (ctrl) add(VK_CONTROL, false);
  if (alt) add(VK_MENU, false);
  add(key, false);
  add(key, true);
  if (alt) add(VK_MENU, true);
  if (ctrl) add(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::string& utf8) {
  std::vector<INPUT> inputs;
  for (wchar_t unit : Wide(utf8)) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = unit;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string TextOf(HWND window) {
  // One message for the usual short text; a full buffer asks for the length.
  std::wstring text(4096, L'\0');
  LRESULT length = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  if (length >= static_cast<LRESULT>(text.size()) - 1) {
    length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    text.assign(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  }
  text.resize(wcslen(text.c_str()));
  return Utf8(text);
}

void SyncWith(HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

void SettleAfterInput(HWND window) {
  // Waiting pumps this thread's messages: the harness's own windows (the
  // one that holds the focus for the hotkey, a drag source) must answer.
  WaitFor([] { return false; }, kInputSettleMs, 10);
  if (window) SyncWith(window);
}

std::optional<std::string> ReadKey(const std::string& path, const std::string& section, const std::string& key) {
  // A default that no value of ours can be tells a missing key from an empty one.
  const wchar_t* missing = L"\x01missing\x01";
  wchar_t buffer[1024] = {};
  GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), missing, buffer, 1024, Wide(path).c_str());
  if (wcscmp(buffer, missing) == 0) return std::nullopt;
  return Utf8(buffer);
}

std::string IniSection(const std::string& name, const std::vector<std::string>& lines) {
  std::string text = "[" + name + "]\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string HistorySection(const std::vector<std::string>& entries) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < 100; ++i) lines.push_back("H" + std::to_string(i) + "=" + (i < entries.size() ? entries[i] : ""));
  return IniSection("History", lines);
}

// The program's own table: its texts are held to the expected ones by the
// core's tests; here they are what the starter file and the menus must show.
const std::vector<StarterEngine>& StarterEngines() {
  static const std::vector<StarterEngine> engines = [] {
    std::vector<StarterEngine> table;
    for (const DefaultEngine& engine : kDefaultEngines) {
      table.push_back({std::string(engine.name), std::string(engine.searchCode), std::string(engine.shortcut),
                       std::string(engine.suggestUrl)});
    }
    return table;
  }();
  return engines;
}

std::string StarterSettings() {
  std::vector<std::string> engines{"Number=10"};
  for (size_t i = 0; i < StarterEngines().size(); ++i) {
    const StarterEngine& engine = StarterEngines()[i];
    const std::string k = std::to_string(i);
    engines.insert(engines.end(), {"E" + k + "=" + engine.name, "S" + k + "=" + engine.code, "A" + k + "=" + engine.shortcut});
    if (!engine.suggestUrl.empty()) engines.push_back("U" + k + "=" + engine.suggestUrl);
  }
  return Gbk(IniSection("Engine", engines) + IniSection("Key", {"Number=1", "K0=MFC"}) +
             IniSection("Site", {"Number=1", "S0=csdn.net"}));
}

// Written here apart from the program's own encoder, so that the two are
// held against each other.
std::string PercentEncoded(const std::string& utf8) {
  std::string out;
  for (unsigned char c : utf8) {
    if (isalnum(c) && c < 0x80) {
      out += static_cast<char>(c);
    } else if (c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      hex[0] = '%';
      hex[1] = "0123456789ABCDEF"[c / 16];
      hex[2] = "0123456789ABCDEF"[c % 16];
      hex[3] = 0;
      out += hex;
    }
  }
  return out;
}

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

namespace {

std::wstring Widen(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

}  // namespace

std::string Gbk(const std::string& utf8) { return GbkBytes(utf8, SystemGbk()); }
std::string FromGbk(const std::string& bytes) { return Utf8(Widen(936, bytes)); }

std::string Utf16File(const std::string& utf8) { return Utf16LeFile(utf8); }
std::optional<std::string> FromUtf16File(const std::string& bytes) { return FromUtf16LeFile(bytes); }

std::string ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string folder = Utf8(path);
  return folder.substr(0, folder.find_last_of('\\'));
}

HWND FindBar(DWORD processId) {
  for (HWND window : DialogsOf(processId)) {
    if (!GetWindow(window, GW_OWNER) && GetDlgItem(window, 1000)) return window;
  }
  return nullptr;
}

std::vector<HWND> OwnedDialogs(DWORD processId, HWND owner) {
  std::vector<HWND> owned;
  for (HWND window : DialogsOf(processId)) {
    if (GetWindow(window, GW_OWNER) == owner && IsWindowVisible(window)) owned.push_back(window);
  }
  return owned;
}

namespace {

std::vector<std::string> ItemTexts(HWND control, UINT countMessage, UINT lengthMessage,
                                   UINT textMessage) {
  std::vector<std::string> items;
  LRESULT count = SendMessageW(control, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    items.push_back(Utf8(text));
  }
  return items;
}

}  // namespace

std::vector<std::string> ListBoxItems(HWND list) {
  return ItemTexts(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboItems(HWND combo) {
  return ItemTexts(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

void RegisterBrowserRecorders() {
  static bool done = false;
  if (done) return;
  done = true;
  std::string folder = ProgramFolder();
  std::string recorder = folder + "\\recorder.exe";
  std::string command = "\"" + recorder + "\" \"%1\"";
  SetRegistryText(HKEY_LOCAL_MACHINE, "Software\\Classes\\http\\shell\\open\\command", command);
  SetRegistryText(HKEY_LOCAL_MACHINE, "Software\\Classes\\https\\shell\\open\\command", command);
  // Internet Explorer: a copy of the recorder under that name, registered
  // where the system looks for it.
  std::string ieFolder = folder + "\\ie";
  CreateDirectoryW(Wide(ieFolder).c_str(), nullptr);
  std::string ie = ieFolder + "\\iexplore.exe";
  CopyFileW(Wide(recorder).c_str(), Wide(ie).c_str(), FALSE);
  SetRegistryText(HKEY_LOCAL_MACHINE,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\iexplore.exe", ie);
}

bool StartProgram(const std::string& name, const std::string& arguments, DWORD flags, const char* folder,
                  PROCESS_INFORMATION& process) {
  std::wstring exe = Wide(ProgramFolder() + "\\" + name);
  std::wstring commandLine = Wide("\"" + ProgramFolder() + "\\" + name + "\"" + (arguments.empty() ? "" : " " + arguments));
  std::wstring workingFolder = folder ? Wide(folder) : std::wstring();
  // Under Wine a start can fail before a line of the program has run: CI
  // runs saw starts fail within milliseconds, and a Wine tool's start fail
  // with "internal error" (1359), Wine's word for a new process that died
  // before its start-up finished; never here. The failure is the host's:
  // say it, try again.
  for (int attempt = 1;; ++attempt) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                       folder ? workingFolder.c_str() : nullptr, &startup, &process)) {
      return true;
    }
    printf("[ harness  ] CreateProcess of %s failed (attempt %d, error %lu)\n", name.c_str(), attempt,
           GetLastError());
    fflush(stdout);
    if (attempt == 3) return false;
    Sleep(500);
  }
}

BarProcess::BarProcess(std::optional<std::string> ini, std::string arguments) : m_arguments(std::move(arguments)) {
  RegisterBrowserRecorders();
  m_folder = NewTempFolder();
  if (ini) WriteFileBytes(SettingsPath(), *ini);
  Start();
}

BarProcess::BarProcess(InFolderOf other) : m_folder(other.first.Folder()), m_ownsFolder(false) { Start(); }

BarProcess::BarProcess(InFolder where, const std::string& ini) : m_folder(std::move(where.folder)), m_ownsFolder(false) {
  RegisterBrowserRecorders();
  WriteFileBytes(SettingsPath(), ini);
  Start();
}

void BarProcess::Start() {
  SetEnvironmentVariableW(L"QUARROW_RECORD_FILE", Wide(m_folder + "\\launches.log").c_str());
  if (!StartProgram("Quarrow.exe", m_arguments, 0, m_folder.c_str(), m_process)) return;
  WaitForInputIdle(m_process.hProcess, 10000);
  // Found, then shown and idle.
  WaitFor([&] { return (m_bar = FindBar(m_process.dwProcessId)) != nullptr; }, 10000, 50);
  WaitFor([&] { return m_bar && IsWindowVisible(m_bar); }, 2000, 20);
  Sync();
}

BarProcess::~BarProcess() {
  if (m_process.hProcess) {
    if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(m_process.hProcess, 1);
      WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hProcess);
    CloseHandle(m_process.hThread);
  }
  // A search the test did not wait for may still be writing its launch into
  // the folder: give it a moment to end.
  if (m_ownsFolder) WaitFor([&] { return RemoveFolder(m_folder); }, 3000, 100);
}

std::string BarProcess::Text(int id) const { return TextOf(id ? Item(id) : m_bar); }

std::vector<std::string> BarProcess::QueryList() const { return ComboItems(Item(1000)); }

void BarProcess::SetQuery(const std::string& utf8) const {
  std::wstring text = Wide(utf8);
  SendMessageW(Item(1000), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void BarProcess::Click(int id) const {
  SendMessageW(Item(id), BM_CLICK, 0, 0);
  Sync();
}

// Sent, so that it has run when this returns. (A posted command followed by a
// sent message would not do: the bar handles sent messages before posted ones.)
void BarProcess::Command(int id) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(m_bar, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 5000, &result);
}

void BarProcess::CommandLater(int id) const { PostMessageW(m_bar, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void BarProcess::ClickLater(int id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }

void BarProcess::SetCheck(int id, bool checked) const {
  SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void BarProcess::Sync() const {
  if (m_bar) SyncWith(m_bar);
}

void BarProcess::FocusQueryBox() const { FocusControl(m_bar, Item(1000)); }

void BarProcess::PressKey(WORD key, bool ctrl, bool alt) const {
  SendKey(key, ctrl, alt);
  SettleAfterInput(m_bar);
}

std::vector<std::string> RecordedLaunches(const std::string& recordFile) {
  std::vector<std::string> lines;
  // A line still being written is not a launch yet: a read can come between
  // the parts of a write and see the start of the URL only.
  std::string bytes = ReadFileBytes(recordFile);
  bytes.erase(bytes.find_last_of('\n') + 1);
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> BarProcess::Launches() const { return RecordedLaunches(m_folder + "\\launches.log"); }

std::vector<std::string> BarProcess::WaitForLaunches(size_t count, DWORD ms) const {
  DWORD start = GetTickCount();
  std::vector<std::string> lines = Launches();
  while (lines.size() < count && GetTickCount() - start < ms) {
    Sleep(50);
    lines = Launches();
  }
  return lines;
}

std::string BarProcess::SettingsPath() const { return m_folder + "\\Quarrow.ini"; }

std::string BarProcess::SettingsBytes() const { return ReadFileBytes(SettingsPath()); }

bool BarProcess::WaitForExit(DWORD ms) const {
  return WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0;
}

DWORD BarProcess::ExitCode(DWORD ms) const {
  DWORD code = STILL_ACTIVE;
  if (WaitForExit(ms)) GetExitCodeProcess(m_process.hProcess, &code);
  return code;
}

DWORD BarProcess::Exit(DWORD ms) {
  PostMessageW(m_bar, WM_COMMAND, MAKEWPARAM(57665, 0), 0);
  return ExitCode(ms);
}

DWORD BarProcess::Close() {
  PostMessageW(m_bar, WM_CLOSE, 0, 0);
  return ExitCode();
}
