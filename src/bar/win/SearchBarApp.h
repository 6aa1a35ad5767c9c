// The application object: starts OLE, runs the search bar as the only main
// window until it ends, and shuts down. WinMain (Main.cpp) makes one and runs it.
#pragma once

class SearchBarApp {
 public:
  int Run();
};
