// The application object: starts OLE, runs the search bar as the only main
// window until it ends, and shuts down. One global instance (Main.cpp).
#pragma once

class SearchBarApp {
 public:
  int Run();
};
