// Starts the real Quarrow.exe in a fresh temporary working folder and drives it
// from outside as a user would: window messages to its controls, menu
// commands, keyboard input, and a look at what reached the browser and what
// the settings file holds.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/win/WideText.h"

// Registers the URL recorder as the http and https handler and as Internet
// Explorer in this Wine prefix (once per test run).
void RegisterBrowserRecorders();

class BarProcess {
 public:
  // `ini`, when given, is written as Quarrow.ini before the start; the
  // program is started with `arguments` on its command line.
  explicit BarProcess(std::optional<std::string> ini = std::nullopt, std::string arguments = "");
  // A second copy of the program, started in the folder of `first` (which
  // keeps the folder) and recording its launches in the same file.
  struct InFolderOf {
    const BarProcess& first;
  };
  explicit BarProcess(InFolderOf other);
  // The program started in `folder`, which the test keeps, on `ini` there.
  struct InFolder {
    std::string folder;
  };
  BarProcess(InFolder where, const std::string& ini);
  ~BarProcess();  // ends the program if it still runs, removes a folder of its own
  BarProcess(const BarProcess&) = delete;
  BarProcess& operator=(const BarProcess&) = delete;

  bool Started() const { return m_bar != nullptr; }
  HWND Bar() const { return m_bar; }
  HWND Item(int id) const { return GetDlgItem(m_bar, id); }
  DWORD ProcessId() const { return m_process.dwProcessId; }
  HANDLE ProcessHandle() const { return m_process.hProcess; }
  const std::string& Folder() const { return m_folder; }

  // The text of a control (or the bar when id is 0), as UTF-8.
  std::string Text(int id) const;
  // The query box's list, in order.
  std::vector<std::string> QueryList() const;
  void SetQuery(const std::string& text) const;
  void Click(int id) const;    // BM_CLICK
  // Runs a menu command (WM_COMMAND) and returns when it has run; not for
  // commands that open a dialog or a menu, which would wait until it closes.
  void Command(int id) const;
  // Posts a command, for those that open a dialog or a menu.
  void CommandLater(int id) const;
  // Posts a click, for buttons that open a menu or a dialog.
  void ClickLater(int id) const;
  void SetCheck(int id, bool checked) const;
  // Waits until the bar has handled what was sent to it so far; a posted
  // message may still be waiting in its queue.
  void Sync() const;

  // Brings the bar to the front and gives the query box the keyboard focus,
  // then types through the system's input queue.
  void FocusQueryBox() const;
  void PressKey(WORD key, bool ctrl = false, bool alt = false) const;

  // Lines the URL recorder wrote: "<program>\t<arguments>", UTF-8.
  std::vector<std::string> Launches() const;
  // Waits up to `ms` until at least `count` launches have been recorded.
  std::vector<std::string> WaitForLaunches(size_t count, DWORD ms = 5000) const;

  std::string SettingsBytes() const;  // Quarrow.ini, or empty when absent
  std::string SettingsPath() const;

  // Sends the exit command and waits up to `ms` for the program to end; its
  // exit code (STILL_ACTIVE if it did not end).
  DWORD Exit(DWORD ms = 10000);
  // Sends a close request and waits for the program to end.
  DWORD Close();
  bool WaitForExit(DWORD ms = 10000) const;
  // The exit code once the program has ended within `ms`, else STILL_ACTIVE.
  DWORD ExitCode(DWORD ms = 10000) const;

 private:
  void Start();

  std::string m_folder;
  std::string m_arguments;
  bool m_ownsFolder = true;
  PROCESS_INFORMATION m_process{};
  HWND m_bar = nullptr;
};

// Paths are UTF-8 here, as every text of the harness; the wide functions
// take them.
// A new empty folder in the temporary folder ("quarrow-<tag>-...").
std::string NewTempFolder(const std::string& tag = "");
// The folder with everything in it, read-only files too; false when some of
// it stayed (a file another process holds open, or one written meanwhile).
bool RemoveFolder(const std::string& folder);
// A new empty temporary folder for the life of the object.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& tag) : m_path(NewTempFolder(tag)) {}
  ~ScratchFolder() { RemoveFolder(m_path); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};
// A file's bytes, empty when it is missing; and the file written anew.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The whole lines the URL recorder wrote into `recordFile`.
std::vector<std::string> RecordedLaunches(const std::string& recordFile);
// The default value of a registry key, made where missing.
void SetRegistryText(HKEY root, const std::string& key, const std::string& value);

// What GetPrivateProfileStringW reads from a settings file (at most 1023
// characters), as UTF-8, or nullopt when the key is missing. The platform reads
// a file without a byte-order mark in the system's code page: exact for our
// GBK files only where that is 936 (the main suite).
std::optional<std::string> ReadKey(const std::string& path, const std::string& section, const std::string& key);
// Expected settings file texts (UTF-8: Gbk() gives the bytes of a file without
// a byte-order mark): a section of lines, and the History section the bar
// saves (H0 to H99, the entries first).
std::string IniSection(const std::string& name, const std::vector<std::string>& lines);
std::string HistorySection(const std::vector<std::string>& entries);
// An empty settings file: a start finds a file, so it writes no starter over
// it, and every list reads its defaults, as in a file of an earlier version
// that has none of the lists' sections.
inline const std::string kEmptySettings;
// The built-in engines, and the file a first start writes (GBK bytes): the
// engines with their shortcuts, then one keyword and one site.
struct StarterEngine {
  std::string name, code, shortcut, suggestUrl;
};
const std::vector<StarterEngine>& StarterEngines();
std::string StarterSettings();
// Text as an engine gets it in an address: every byte but A-Z a-z 0-9 - . _ ~
// as %XX; and back.
std::string PercentEncoded(const std::string& utf8);
std::string PercentDecoded(const std::string& text);

// Polls `condition` every `pollMs` until it holds or `ms` have passed,
// handling this thread's own window messages meanwhile. (A condition that
// enumerates windows or asks another process loads the Wine server, which the
// program under test needs too: such waits poll less often.)
bool WaitFor(const std::function<bool()>& condition, DWORD ms = 3000, DWORD pollMs = 5);
// Brings `window` to the front and gives its thread's focus to `control`
// (or a child of it, as a combo box's edit); false if that did not hold.
bool FocusControl(HWND window, HWND control);
// The window that has the keyboard focus in the thread of `window`.
HWND FocusOf(HWND window);
// One key pressed and released through the system's input queue, to whatever
// has the focus, with Ctrl and Alt held when asked. Returns at once.
void SendKey(WORD key, bool ctrl = false, bool alt = false);
// Text typed through the system's input queue, one UTF-16 unit at a time as
// an input method hands it over (KEYEVENTF_UNICODE), to whatever has the
// focus. Returns at once.
void TypeText(const std::string& utf8);

// The text of a window (through the UTF-16 messages), as UTF-8.
std::string TextOf(HWND window);
// Waits until `window` has handled everything sent to it so far.
void SyncWith(HWND window);
// Input sent through the system's input queue reaches a program after
// whatever was sent or posted to it before: every key press and click of the
// harness is given this long, then `window` (when given) is waited for.
inline constexpr DWORD kInputSettleMs = 150;
void SettleAfterInput(HWND window = nullptr);

// Every text of the harness is UTF-8; the windows speak UTF-16: the
// program's own lossless conversions (Wide, Utf8) serve here too.
// The bytes of UTF-8 text in GBK (code page 936) and back: what a settings
// file without a byte-order mark holds, whatever the system's code page.
std::string Gbk(const std::string& utf8);
std::string FromGbk(const std::string& bytes);
// UTF-16 LE with its byte-order mark, as the program writes a file that GBK
// cannot hold; and such a file's text (nullopt without the mark).
std::string Utf16File(const std::string& utf8);
std::optional<std::string> FromUtf16File(const std::string& bytes);
// The folder that holds the test program, Quarrow.exe and the recorder.
std::string ProgramFolder();
// Starts a program of that folder with `arguments` in the working `folder`
// (nullptr: the test's own); false when the system would not start it, after
// three attempts, each failure printed.
bool StartProgram(const std::string& name, const std::string& arguments, DWORD flags, const char* folder,
                  PROCESS_INFORMATION& process);
// The texts of a list box's or a combo box's items, read with the UTF-16
// messages (across processes under Wine the ANSI ones come back cut).
std::vector<std::string> ListBoxItems(HWND list);
std::vector<std::string> ComboItems(HWND combo);
// Which windows FindWindows collects; a member left at its default matches all.
struct WindowFilter {
  DWORD processId = 0;             // 0: of every process
  const char* className = nullptr;  // nullptr: of every class
  bool visibleOnly = false;
  bool withChildren = false;  // the top-level windows' descendants too
};
// The windows that pass the filter, top-level ones in z-order.
std::vector<HWND> FindWindows(const WindowFilter& filter);
// The bar of a process: its dialog without an owner that holds the query box.
HWND FindBar(DWORD processId);
// The top-level dialog windows of a process that are owned by `owner`.
std::vector<HWND> OwnedDialogs(DWORD processId, HWND owner);
