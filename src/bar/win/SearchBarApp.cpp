#include "bar/win/SearchBarApp.h"

#include <windows.h>
#include <ole2.h>

#include "bar/win/SearchBarDlg.h"
#include "bar/win/SingleBar.h"
#include "bar/win/StartupClock.h"

int SearchBarApp::Run() {
  MarkStartup("WinMain");
  SingleBar single;  // one bar per settings file
  if (!single.Claim()) return 0;  // the bar that runs on it was asked to show itself
  // No dialog holds an OLE control and the system draws the controls'
  // three-dimensional look itself, so of the start-up steps only OLE is left.
  // Its result is not looked at: without it only dropping text fails.
  HRESULT ole = OleInitialize(nullptr);
  MarkStartup("OLE initialised");
  {
    SearchBarDlg bar;
    MarkStartup("bar object made");
    bar.DoModal();  // ends by the exit command or a close request
  }  // the bar object goes: its notification icon is removed
  if (SUCCEEDED(ole)) OleUninitialize();
  return 0;
}
