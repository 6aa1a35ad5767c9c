// Fetches suggestions on a thread of its own, one request at a time, so that
// the bar's input thread never waits on the network. The worker never touches
// a window: it posts each answer to the bar, which alone fills its list. The
// thread and the network library (WinHTTP) come at the first request; with
// suggestions off neither ever does.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// What the worker posts: wParam is unused, lParam a SuggestAnswer* that the
// bar takes over (it deletes it).
struct SuggestAnswer {
  unsigned generation = 0;               // of the request it answers
  std::vector<std::string> suggestions;  // empty for any failure
};

class SuggestWorker {
 public:
  // Answers are posted to `bar` as message `answered`.
  SuggestWorker(HWND bar, UINT answered);
  // Tells the thread to stop and does not wait for it: a thread stuck in the
  // network ends with the process.
  ~SuggestWorker();
  SuggestWorker(const SuggestWorker&) = delete;
  SuggestWorker& operator=(const SuggestWorker&) = delete;

  // Asks for `url` in place of any request not begun yet.
  void Ask(unsigned generation, const std::string& url);

 private:
  struct Shared;
  static DWORD WINAPI Run(void* shared);

  std::shared_ptr<Shared> m_shared;
  bool m_started = false;
};
