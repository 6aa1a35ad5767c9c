#include "BarHarness.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

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
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if ((!filter.processId || processId == filter.processId) &&
      (!filter.className || strcmp(name, filter.className) == 0) &&
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
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  for (;;) {
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%squarrow-%s%lu-%d", base, tag.empty() ? "" : (tag + "-").c_str(),
             GetCurrentProcessId(), ++counter);
    if (CreateDirectoryA(name, nullptr)) return name;
  }
}

bool RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  return RemoveDirectoryA(folder.c_str());
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void SetRegistryText(HKEY root, const std::string& key, const std::string& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) == 0) {
    RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
  }
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms, DWORD pollMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
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
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
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
  return ToGbk(text);
}

void SyncWith(HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

std::optional<std::string> ReadKey(const std::string& path, const std::string& section, const std::string& key) {
  // A default that no value of ours can be tells a missing key from an empty one.
  const char* missing = "\x01missing\x01";
  char buffer[1024] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), missing, buffer, sizeof buffer, path.c_str());
  if (strcmp(buffer, missing) == 0) return std::nullopt;
  return std::string(buffer);
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

std::string ToGbk(const std::wstring& text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(936, 0, text.data(), (int)text.size(), nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(936, 0, text.data(), (int)text.size(), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring FromGbk(const std::string& text) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(936, 0, text.data(), (int)text.size(), nullptr, 0);
  std::wstring out(size, L'\0');
  MultiByteToWideChar(936, 0, text.data(), (int)text.size(), out.data(), size);
  return out;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
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
    items.push_back(ToGbk(text));
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
  CreateDirectoryA(ieFolder.c_str(), nullptr);
  std::string ie = ieFolder + "\\iexplore.exe";
  CopyFileA(recorder.c_str(), ie.c_str(), FALSE);
  SetRegistryText(HKEY_LOCAL_MACHINE,
                  "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\iexplore.exe", ie);
}

bool StartProgram(const std::string& name, const std::string& arguments, DWORD flags, const char* folder,
                  PROCESS_INFORMATION& process) {
  std::string exe = ProgramFolder() + "\\" + name;
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  // Under Wine a start can fail before a line of the program has run: CI
  // runs saw starts fail within milliseconds, and a Wine tool's start fail
  // with "internal error" (1359), Wine's word for a new process that died
  // before its start-up finished; never here. The failure is the host's:
  // say it, try again.
  for (int attempt = 1;; ++attempt) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, folder, &startup,
                       &process)) {
      return true;
    }
    printf("[ harness  ] CreateProcess of %s failed (attempt %d, error %lu)\n", name.c_str(), attempt,
           GetLastError());
    fflush(stdout);
    if (attempt == 3) return false;
    Sleep(500);
  }
}

BarProcess::BarProcess(std::optional<std::string> ini) {
  RegisterBrowserRecorders();
  m_folder = NewTempFolder();
  if (ini) WriteFileBytes(SettingsPath(), *ini);
  Start();
}

BarProcess::BarProcess(InFolderOf other) : m_folder(other.first.Folder()), m_ownsFolder(false) { Start(); }

void BarProcess::Start() {
  SetEnvironmentVariableA("QUARROW_RECORD_FILE", (m_folder + "\\launches.log").c_str());
  if (!StartProgram("Quarrow.exe", "", 0, m_folder.c_str(), m_process)) return;
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

void BarProcess::SetQuery(const std::string& gbkText) const {
  std::wstring text = FromGbk(gbkText);
  SendMessageW(Item(1000), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void BarProcess::Click(int id) const {
  SendMessageA(Item(id), BM_CLICK, 0, 0);
  Sync();
}

// Sent, so that it has run when this returns. (A posted command followed by a
// sent message would not do: the bar handles sent messages before posted ones.)
void BarProcess::Command(int id) const {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(m_bar, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 5000, &result);
}

void BarProcess::CommandLater(int id) const { PostMessageA(m_bar, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void BarProcess::ClickLater(int id) const { PostMessageA(Item(id), BM_CLICK, 0, 0); }

void BarProcess::SetCheck(int id, bool checked) const {
  SendMessageA(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void BarProcess::Sync() const {
  if (m_bar) SyncWith(m_bar);
}

void BarProcess::FocusQueryBox() const { FocusControl(m_bar, Item(1000)); }

void BarProcess::PressKey(WORD key, bool ctrl, bool alt) const {
  SendKey(key, ctrl, alt);
  Sleep(100);
  Sync();
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
  PostMessageA(m_bar, WM_COMMAND, MAKEWPARAM(57665, 0), 0);
  return ExitCode(ms);
}

DWORD BarProcess::Close() {
  PostMessageA(m_bar, WM_CLOSE, 0, 0);
  return ExitCode();
}
