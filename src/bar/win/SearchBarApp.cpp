#include "bar/win/SearchBarApp.h"

#include <windows.h>
#include <ole2.h>

#include "bar/CommandLine.h"
#include "bar/win/SearchBarDlg.h"
#include "bar/win/SingleBar.h"
#include "bar/win/StartupClock.h"
#include "base/Texts.h"
#include "framework/win/AppTitle.h"
#include "framework/win/WideText.h"
#include "settings/win/SettingsPath.h"

namespace {

// --help, /? or an option not understood: the usage, and no search.
int ShowUsage(const CommandLine& request) {
  std::string text(kUsage);
  UINT icon = MB_ICONINFORMATION;
  if (request.command == BarCommand::Unknown) {
    text = std::string(kUnknownOption) + request.text + "\n\n" + text;
    icon = MB_ICONWARNING;
  }
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(AppTitle()).c_str(), icon | MB_OK);
  return ExitCodeOf(request.command);
}

}  // namespace

int SearchBarApp::Run() {
  MarkStartup("WinMain");
  const CommandLine request = ParseArguments(ArgumentsOf(Utf8(GetCommandLineW())));
  if (request.command == BarCommand::Help || request.command == BarCommand::Unknown) return ShowUsage(request);
  const std::string settingsPath = CurrentSettingsPath();  // once, for all that needs it
  SingleBar single(settingsPath);  // one bar per settings file
  if (!single.Claim(request)) return single.Answered() ? 0 : 1;  // handed to the bar that runs on it
  if (request.command == BarCommand::Exit) return 0;              // no bar to end
  // No dialog holds an OLE control and the system draws the controls'
  // three-dimensional look itself, so of the start-up steps only OLE is left.
  // Its result is not looked at: without it only dropping text fails.
  HRESULT ole = OleInitialize(nullptr);
  MarkStartup("OLE initialised");
  {
    SearchBarDlg bar(settingsPath);
    MarkStartup("bar object made");
    if (request.command == BarCommand::Search) bar.SearchSoon(request.text);
    bar.DoModal();  // ends by the exit command or a close request
  }  // the bar object goes: its notification icon is removed
  if (SUCCEEDED(ole)) OleUninitialize();
  return 0;
}
