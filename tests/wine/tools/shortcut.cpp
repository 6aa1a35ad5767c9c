// Reads a shortcut (.lnk) as the shell does, for the installer's test:
//   shortcut.exe show <file.lnk>    prints "target=<path>" and "workdir=<path>" (UTF-8)
//   shortcut.exe start <file.lnk>   starts its target in its working folder,
//                                   as a click on it does, and prints the process id
// Exit status 0 when it did so, 1 when the shortcut cannot be read or started.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  return out;
}

bool ReadShortcut(const wchar_t* file, std::wstring& target, std::wstring& workdir) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  IPersistFile* persist = nullptr;
  bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
            SUCCEEDED(persist->Load(file, STGM_READ));
  if (ok) {
    wchar_t buffer[32768] = {};
    ok = SUCCEEDED(link->GetPath(buffer, 32768, nullptr, SLGP_RAWPATH));
    target = buffer;
    buffer[0] = L'\0';
    link->GetWorkingDirectory(buffer, 32768);
    workdir = buffer;
  }
  if (persist) persist->Release();
  link->Release();
  return ok;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count != 3) {
    std::fprintf(stderr, "usage: shortcut.exe show|start <file.lnk>\n");
    return 1;
  }
  CoInitialize(nullptr);
  std::wstring target, workdir;
  if (!ReadShortcut(args[2], target, workdir)) {
    std::fprintf(stderr, "shortcut: cannot read %s\n", Utf8(args[2]).c_str());
    return 1;
  }
  if (std::wstring(args[1]) == L"show") {
    std::printf("target=%s\nworkdir=%s\n", Utf8(target).c_str(), Utf8(workdir).c_str());
    return 0;
  }
  std::wstring commandLine = L"\"" + target + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(target.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workdir.empty() ? nullptr : workdir.c_str(), &startup, &process)) {
    std::fprintf(stderr, "shortcut: cannot start %s (%lu)\n", Utf8(target).c_str(), GetLastError());
    return 1;
  }
  std::printf("%lu\n", process.dwProcessId);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
