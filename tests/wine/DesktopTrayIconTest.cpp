// TrayIcon in this process, against Wine's notification area; and the test
// helpers that the desktop tests lean on.
#include <gtest/gtest.h>

#include <string>

#include "DesktopHarness.h"
#include "desktop/win/TrayIcon.h"

using namespace desktop_test;

TEST(DesktopTrayIcon, AddedOnceWithAnIconAndRemovedByItsOwner) {
  HWND window = FocusTestWindow();
  const int before = WineTrayIconCount();
  {
    TrayIcon icon;
    icon.SetTip("tray icon test");
    icon.Add(window);  // no icon yet: nothing
    EXPECT_FALSE(icon.Added());
    icon.SetIcon(nullptr);  // ignored
    icon.Add(window);
    EXPECT_FALSE(icon.Added());
    EXPECT_EQ(WineTrayIconCount(), before);

    icon.SetIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));  // IDI_APPLICATION
    icon.Add(window);
    EXPECT_TRUE(icon.Added());
    EXPECT_TRUE(WaitFor([&] { return WineTrayIconCount() == before + 1; }));
    icon.Add(window);  // once only
    icon.SetTip(std::string(100, 't'));
    icon.SetIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32516)));  // IDI_INFORMATION
    Pause(100);
    EXPECT_EQ(WineTrayIconCount(), before + 1);

    icon.Remove();
    EXPECT_FALSE(icon.Added());
    EXPECT_TRUE(WaitFor([&] { return WineTrayIconCount() == before; }));
    icon.Add(window);
    EXPECT_TRUE(WaitFor([&] { return WineTrayIconCount() == before + 1; }));
  }  // the destructor removes it
  EXPECT_TRUE(WaitFor([&] { return WineTrayIconCount() == before; }));
  HideTestWindow();
}

// The GDI count that the repaint test compares must see objects come and go.
TEST(DesktopHarness, GdiObjectCountFollowsObjectsMadeAndFreed) {
  std::optional<int> before = GdiObjectCount(GetCurrentProcess());
  ASSERT_TRUE(before.has_value());
  HBRUSH brushes[25];
  for (int i = 0; i < 25; ++i) brushes[i] = CreateSolidBrush(RGB(i, 0, 0));
  EXPECT_EQ(GdiObjectCount(GetCurrentProcess()), *before + 25);
  for (HBRUSH brush : brushes) DeleteObject(brush);
  EXPECT_EQ(GdiObjectCount(GetCurrentProcess()), before);
}
