#include "search/win/Browser.h"

#include <windows.h>
#include <shellapi.h>

#include "search/SearchUrl.h"

namespace {

// Internet Explorer's registered full path ("App Paths"), so that a program
// called iexplore in the current directory (the settings folder) never runs
// in its place; the plain name when none is registered.
std::string InternetExplorerPath() {
  const char* subkey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\iexplore.exe";
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    // RRF_RT_REG_SZ also takes a REG_EXPAND_SZ value and expands it.
    char raw[MAX_PATH] = {};
    DWORD size = sizeof raw - 1;
    if (RegGetValueA(root, subkey, nullptr, RRF_RT_REG_SZ, nullptr, raw,
                     &size) != ERROR_SUCCESS) {
      continue;
    }
    std::string path(raw);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    if (!path.empty()) return path;
  }
  return "iexplore";
}

}  // namespace

void OpenInBrowser(const std::string& url, bool useIE) {
  if (useIE) {
    ShellExecuteA(nullptr, nullptr, InternetExplorerPath().c_str(), url.c_str(), nullptr, SW_SHOW);
  } else {
    ShellExecuteA(nullptr, nullptr, UrlForShell(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
}
