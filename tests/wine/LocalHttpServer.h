// A small HTTP/1.1 server inside the test program, on 127.0.0.1 at a port the
// system picks, for the tests of what the bar fetches: a test says how each
// request is answered (at once, late, not at all, with a huge body) and then
// looks at what was asked. Each connection is served on its own thread, so a
// reply held back does not hold the next request, and every reply ends its
// connection ("Connection: close").
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct HttpReply {
  int status = 200;
  std::string contentType = "application/json; charset=utf-8";
  std::string body;               // bytes as sent
  std::string headers;            // more header lines, each ending "\r\n" (a Location, say)
  DWORD delayMs = 0;              // wait this long before answering: a server that hangs
  bool closeWithoutAnswer = false;  // read the request, then drop the connection: a broken server
};

struct HttpRequest {
  std::string method;
  std::string target;   // path and query, byte for byte as the client sent them
  std::string headers;  // the header lines as received, each ending "\r\n"
  DWORD atMs = 0;       // GetTickCount when the request had fully arrived

  // The value of the first header of that name (case ignored), trimmed.
  std::optional<std::string> Header(std::string_view name) const;
};

class LocalHttpServer {
 public:
  // `answer` runs on the connection's thread, never on the test's: it must
  // not use gtest's assertions (gtest is built without thread support here).
  explicit LocalHttpServer(std::function<HttpReply(const HttpRequest&)> answer);
  // Stops listening, cuts replies still waiting for their delay (their
  // connections are dropped) and joins every thread before it returns.
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool Started() const { return m_acceptThread != nullptr; }
  int Port() const { return m_port; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string Url(std::string_view path) const;

  // Every request so far, in the order they arrived; a request is recorded
  // as soon as its headers are in, before its reply's delay.
  std::vector<HttpRequest> Requests() const;
  // Waits up to `ms` until at least `count` requests have arrived.
  bool WaitForRequests(size_t count, DWORD ms) const;

 private:
  struct Connection;
  static DWORD WINAPI AcceptThread(void* self);
  static DWORD WINAPI ConnectionThread(void* connection);
  void AcceptAll();
  void Serve(Connection& connection);
  void Record(const HttpRequest& request);

  std::function<HttpReply(const HttpRequest&)> m_answer;
  bool m_winsock = false;
  SOCKET m_listener = INVALID_SOCKET;
  int m_port = 0;
  HANDLE m_stop = nullptr;  // set by the destructor; every wait of the server ends on it
  WSAEVENT m_acceptEvent = WSA_INVALID_EVENT;
  HANDLE m_acceptThread = nullptr;
  std::vector<HANDLE> m_connectionThreads;  // only the accept thread adds, until it is joined

  mutable SRWLOCK m_lock = SRWLOCK_INIT;
  mutable CONDITION_VARIABLE m_arrived = CONDITION_VARIABLE_INIT;
  std::vector<HttpRequest> m_requests;
};

// The value of the query parameter `name` in a request target
// ("/s?wd=a&q=%E5%A4%A9" gives "天" for "q"), its %XX escapes decoded to
// bytes; a '+' stays a '+' and a '%' not followed by two hex digits stays as
// it is. nullopt when the target has no such parameter; a name without '='
// has the empty value.
std::optional<std::string> QueryParameter(std::string_view target, std::string_view name);
