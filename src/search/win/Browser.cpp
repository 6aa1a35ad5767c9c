#include "search/win/Browser.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/win/WideText.h"
#include "search/SearchUrl.h"

namespace {

// Internet Explorer's registered full path ("App Paths"), so that a program
// called iexplore in the current directory (the settings folder) never runs
// in its place; the plain name when none is registered.
std::wstring InternetExplorerPath() {
  const wchar_t* subkey = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\iexplore.exe";
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    // RRF_RT_REG_SZ also takes a REG_EXPAND_SZ value and expands it.
    wchar_t raw[MAX_PATH] = {};
    DWORD size = sizeof raw - sizeof raw[0];
    if (RegGetValueW(root, subkey, nullptr, RRF_RT_REG_SZ, nullptr, raw, &size) != ERROR_SUCCESS) {
      continue;
    }
    std::wstring path(raw);
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    if (!path.empty()) return path;
  }
  return L"iexplore";
}

bool RunningUnderWine() {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

// Wine's shell (seen with Wine 8) builds the command of a URL's handler in a
// buffer of 1024 characters and overruns it with a longer URL, which crashes
// the caller. Under Wine such a URL is not handed over; the launch fails
// quietly, as any failed launch does. Windows takes it.
constexpr size_t kWineUrlLimit = 900;

void Launch(const std::wstring& file, const wchar_t* parameters, int show) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;  // a failed launch is not reported
  info.lpFile = file.c_str();
  info.lpParameters = parameters;
  info.nShow = show;
  ShellExecuteExW(&info);
}

}  // namespace

// The URL goes to the shell as the user typed it, in UTF-16: the browser
// encodes it as it encodes any typed address.
void OpenInBrowser(const std::string& url, bool useIE) {
  if (useIE) {
    Launch(InternetExplorerPath(), Wide(url).c_str(), SW_SHOW);
    return;
  }
  std::wstring target = Wide(UrlForShell(url));
  if (RunningUnderWine() && target.size() > kWineUrlLimit) return;
  Launch(target, nullptr, SW_SHOWNORMAL);
}
