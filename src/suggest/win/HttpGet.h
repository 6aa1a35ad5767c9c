// A plain HTTP(S) GET through WinHTTP, for the suggestions' worker thread.
// WinHTTP is loaded at the first request, not imported: a bar that never asks
// for suggestions never loads a network library.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <optional>
#include <string>

class HttpClient {
 public:
  struct Reply {
    std::string body;
    std::string contentType;  // the Content-Type header, "" when none
  };

  HttpClient() = default;
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // The reply to a GET of `url` when its status is 2xx, its body is at most
  // `maxBytes` (a larger one is refused, unread where its length is told) and
  // it all came within `budgetMs`; nothing for any failure. The system's proxy
  // settings are used; no cookie is kept and nothing is written to disk.
  std::optional<Reply> Get(const std::string& url, unsigned budgetMs, size_t maxBytes);

 private:
  struct Api;
  bool Load();
  HINTERNET Send(const std::string& url, DWORD deadline, HINTERNET& connection);
  std::optional<Reply> Receive(HINTERNET request, DWORD deadline, size_t maxBytes);
  DWORD NumberHeader(HINTERNET request, DWORD header) const;

  HMODULE m_module = nullptr;
  const Api* m_api = nullptr;
  HINTERNET m_session = nullptr;
};
