#include "RobustnessHarness.h"

#include <ole2.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace robust {

bool Responsive(HANDLE process, HWND window, DWORD ms) {
  if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

std::optional<std::string> ReadKey(const std::string& path, const std::string& section, const std::string& key) {
  // A default that no value of ours can be tells a missing key from an empty one.
  const char* missing = "\x01missing\x01";
  char buffer[1024] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), missing, buffer, sizeof buffer, path.c_str());
  if (strcmp(buffer, missing) == 0) return std::nullopt;
  return std::string(buffer);
}

std::vector<std::string> MalformedLines(const std::string& bytes) {
  std::string text = bytes;
  if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF && static_cast<unsigned char>(text[1]) == 0xFE) {
    std::wstring wide((text.size() - 2) / 2, L'\0');
    memcpy(wide.data(), text.data() + 2, wide.size() * 2);
    text = ToGbk(wide);
  }
  std::vector<std::string> bad;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line[first] == '[' && line.find(']', first) != std::string::npos) continue;
    if (line.find('=') != std::string::npos && line.find('=') > first) continue;
    bad.push_back(line.substr(0, 80));
  }
  return bad;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  std::string query = folder;
  query.append("\\").append(pattern);
  HANDLE search = FindFirstFileA(query.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

FileLock::FileLock(const std::string& path) {
  m_handle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

void FileLock::Release() {
  if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
  m_handle = INVALID_HANDLE_VALUE;
}

bool Writable(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

namespace {

struct BarSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindBarOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BarSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == search->processId && strcmp(name, "#32770") == 0 && !GetWindow(window, GW_OWNER) &&
      GetDlgItem(window, 1000)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

struct VisibleSearch {
  DWORD processId;
  HWND except;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<VisibleSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && window != search->except && IsWindowVisible(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

HWND FindBarWindow(DWORD processId, DWORD ms) {
  BarSearch search{processId, nullptr};
  WaitUntil([&] {
    EnumWindows(FindBarOf, reinterpret_cast<LPARAM>(&search));
    return search.found && IsWindowVisible(search.found);
  }, ms);
  return search.found;
}

std::vector<HWND> OtherVisibleWindows(DWORD processId, HWND except) {
  VisibleSearch search{processId, except, {}};
  EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ExtraBar::ExtraBar(const std::string& folder) {
  std::string exe = ProgramFolder() + "\\Quarrow.exe";
  std::string commandLine;
  commandLine.append("\"").append(exe).append("\"");
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &m_process)) {
    return;
  }
  WaitForInputIdle(m_process.hProcess, 10000);
  m_bar = FindBarWindow(m_process.dwProcessId);
}

ExtraBar::~ExtraBar() {
  if (!m_process.hProcess) return;
  if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, 5000);
  }
  CloseHandle(m_process.hProcess);
  CloseHandle(m_process.hThread);
}

void ExtraBar::Search(const std::string& query) const {
  std::wstring text = FromGbk(query);
  SendMessageW(GetDlgItem(m_bar, 1000), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(GetDlgItem(m_bar, 1001), BM_CLICK, 0, 0);
}

DWORD ExtraBar::Exit() {
  PostMessageA(m_bar, WM_COMMAND, MAKEWPARAM(57665, 0), 0);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(m_process.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(m_process.hProcess, &code);
  return code;
}

// ---- Dropping.

namespace {

class TextData : public IDataObject {
 public:
  explicit TextData(std::string text) : m_text(std::move(text)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, m_text.size() + 1);
    memcpy(GlobalLock(memory), m_text.c_str(), m_text.size() + 1);
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == CF_TEXT && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  std::string m_text;
};

// Drops after a few rounds of the drag loop, wherever the cursor is then.
class DropSoon : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
    return ++m_rounds > 3 ? DRAGDROP_S_DROP : S_OK;
  }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  int m_rounds = 0;
};

}  // namespace

void DropTextOnBar(HWND bar, const std::string& text) {
  RECT rect{};
  GetWindowRect(bar, &rect);
  SetCursorPos(rect.left + 12, rect.bottom - 12);
  TextData data(text);
  DropSoon source;
  DWORD effect = 0;
  DoDragDrop(&data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  DWORD_PTR result = 0;
  SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

// ---- Input that can be waited for.

namespace {

void AddKey(std::vector<INPUT>& inputs, WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  bool extended = vk == VK_END || vk == VK_HOME || vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP ||
                  vk == VK_DOWN || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_INSERT || vk == VK_DELETE;
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  inputs.push_back(input);
}

// With this thread's input attached to the program's thread the two share one
// key state, which changes as the program's thread takes keys and buttons
// from its queue: a key's or button's toggle bit flips when it is taken down.
class SharedKeyState {
 public:
  explicit SharedKeyState(HWND window)
      : m_self(GetCurrentThreadId()), m_target(GetWindowThreadProcessId(window, nullptr)) {
    m_attached = AttachThreadInput(m_self, m_target, TRUE) != FALSE;
  }
  ~SharedKeyState() {
    if (m_attached) AttachThreadInput(m_self, m_target, FALSE);
  }
  static bool Toggled(int vk) { return GetKeyState(vk) & 1; }
  static bool Down(int vk) { return GetKeyState(vk) & 0x8000; }

 private:
  DWORD m_self, m_target;
  bool m_attached;
};

// Whatever the last input started (a search, a menu) has run when the
// program's thread answers again.
void SyncThread(HWND window, DWORD ms) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result);
}

// Sends `inputs` to the window in front, made the program's first, and gives
// the program's thread the time to take them.
bool SendAndWait(HWND window, std::vector<INPUT> inputs, DWORD ms) {
  DWORD target = GetWindowThreadProcessId(window, nullptr);
  if (GetWindowThreadProcessId(GetForegroundWindow(), nullptr) != target) {
    SetForegroundWindow(GetAncestor(window, GA_ROOT));
  }
  bool inFront = GetWindowThreadProcessId(GetForegroundWindow(), nullptr) == target;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(60);
  SyncThread(window, ms);
  return inFront;
}

}  // namespace

bool PressKeys(HWND window, const std::vector<Key>& keys, DWORD ms) {
  std::vector<INPUT> inputs;
  for (const Key& key : keys) {
    if (key.ctrl) AddKey(inputs, VK_CONTROL, false);
    AddKey(inputs, key.vk, false);
    AddKey(inputs, key.vk, true);
    if (key.ctrl) AddKey(inputs, VK_CONTROL, true);
  }
  return SendAndWait(window, inputs, ms);
}

// The mouse goes to the window under the cursor, whichever is in front; the
// click has been handled once the program's thread has taken the button up.
bool ClickAt(HWND window, POINT point, DWORD ms) {
  SetCursorPos(point.x, point.y);
  bool taken;
  {
    SharedKeyState state(window);
    bool before = SharedKeyState::Toggled(VK_LBUTTON);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    taken = WaitUntil([&] {
      return SharedKeyState::Toggled(VK_LBUTTON) != before && !SharedKeyState::Down(VK_LBUTTON);
    }, ms);
  }
  SyncThread(window, ms);
  return taken;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= ms) return false;
    Sleep(2);
  }
}

}  // namespace robust
