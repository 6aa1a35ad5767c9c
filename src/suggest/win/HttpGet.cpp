#include "suggest/win/HttpGet.h"

#include "framework/win/WideText.h"

// The WinHTTP functions used, looked up in winhttp.dll.
struct HttpClient::Api {
  decltype(&::WinHttpOpen) Open;
  decltype(&::WinHttpCrackUrl) CrackUrl;
  decltype(&::WinHttpConnect) Connect;
  decltype(&::WinHttpOpenRequest) OpenRequest;
  decltype(&::WinHttpSetTimeouts) SetTimeouts;
  decltype(&::WinHttpSetOption) SetOption;
  decltype(&::WinHttpSendRequest) SendRequest;
  decltype(&::WinHttpReceiveResponse) ReceiveResponse;
  decltype(&::WinHttpQueryHeaders) QueryHeaders;
  decltype(&::WinHttpReadData) ReadData;
  decltype(&::WinHttpCloseHandle) CloseHandle;
};

namespace {

template <typename Function>
bool Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return function != nullptr;
}

// What is left of the budget, at least 1 ms (0 would mean "no limit" to WinHTTP).
int Remaining(DWORD deadline) {
  const LONG left = static_cast<LONG>(deadline - GetTickCount());
  return left > 0 ? left : 1;
}

bool Expired(DWORD deadline) { return static_cast<LONG>(deadline - GetTickCount()) <= 0; }

}  // namespace

// Runs on the worker's thread when it stops, after its last request.
HttpClient::~HttpClient() {
  if (m_session) m_api->CloseHandle(m_session);
  delete m_api;
  if (m_module) FreeLibrary(m_module);
}

bool HttpClient::Load() {
  if (m_session) return true;
  if (!m_module) m_module = LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!m_module) m_module = LoadLibraryW(L"winhttp.dll");  // Windows 7 without the search flags
  if (!m_module) return false;
  auto* api = new Api{};
  const bool found = Find(m_module, "WinHttpOpen", api->Open) && Find(m_module, "WinHttpCrackUrl", api->CrackUrl) &&
                     Find(m_module, "WinHttpConnect", api->Connect) &&
                     Find(m_module, "WinHttpOpenRequest", api->OpenRequest) &&
                     Find(m_module, "WinHttpSetTimeouts", api->SetTimeouts) &&
                     Find(m_module, "WinHttpSetOption", api->SetOption) &&
                     Find(m_module, "WinHttpSendRequest", api->SendRequest) &&
                     Find(m_module, "WinHttpReceiveResponse", api->ReceiveResponse) &&
                     Find(m_module, "WinHttpQueryHeaders", api->QueryHeaders) &&
                     Find(m_module, "WinHttpReadData", api->ReadData) &&
                     Find(m_module, "WinHttpCloseHandle", api->CloseHandle);
  if (!found) {
    delete api;
    return false;
  }
  m_api = api;
  // The system's proxy settings: the automatic kind where Windows has it
  // (8.1 and later), WinHTTP's own default before.
  m_session = m_api->Open(L"Quarrow", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                          WINHTTP_NO_PROXY_BYPASS, 0);
  if (!m_session) {
    m_session = m_api->Open(L"Quarrow", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                            WINHTTP_NO_PROXY_BYPASS, 0);
  }
  return m_session != nullptr;
}

// Sends the GET of `url` and waits for its reply's headers, each step within
// what is left of the budget; the request handle, or none.
HINTERNET HttpClient::Send(const std::string& url, DWORD deadline, HINTERNET& connection) {
  const std::wstring wideUrl = Wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!m_api->CrackUrl(wideUrl.c_str(), static_cast<DWORD>(wideUrl.size()), 0, &parts)) return nullptr;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return nullptr;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  connection = m_api->Connect(m_session, host.c_str(), parts.nPort, 0);
  if (!connection) return nullptr;
  const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  HINTERNET request = m_api->OpenRequest(connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                         WINHTTP_DEFAULT_ACCEPT_TYPES, secure);
  if (!request) return nullptr;
  DWORD noCookies = WINHTTP_DISABLE_COOKIES;
  m_api->SetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &noCookies, sizeof noCookies);
  // The wait for the reply's headers has an option of its own: Wine does not
  // bound it by the receive time-out (seen with Wine 8).
  const int left = Remaining(deadline);
  m_api->SetTimeouts(request, left, left, left, left);
  DWORD waitForReply = static_cast<DWORD>(left);
  m_api->SetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &waitForReply, sizeof waitForReply);
  if (m_api->SendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
      m_api->ReceiveResponse(request, nullptr)) {
    return request;
  }
  m_api->CloseHandle(request);
  return nullptr;
}

DWORD HttpClient::NumberHeader(HINTERNET request, DWORD header) const {
  DWORD value = 0, size = sizeof value;
  if (!m_api->QueryHeaders(request, header | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return 0;
  }
  return value;
}

// The reply of a 2xx status whose body fits `maxBytes` and arrives in time.
std::optional<HttpClient::Reply> HttpClient::Receive(HINTERNET request, DWORD deadline, size_t maxBytes) {
  const DWORD status = NumberHeader(request, WINHTTP_QUERY_STATUS_CODE);
  if (status < 200 || status > 299) return std::nullopt;
  if (NumberHeader(request, WINHTTP_QUERY_CONTENT_LENGTH) > maxBytes) return std::nullopt;  // refused unread
  Reply reply;
  wchar_t type[256] = {};
  DWORD size = sizeof type - sizeof type[0];
  if (m_api->QueryHeaders(request, WINHTTP_QUERY_CONTENT_TYPE, WINHTTP_HEADER_NAME_BY_INDEX, type, &size,
                          WINHTTP_NO_HEADER_INDEX)) {
    reply.contentType = Utf8(type);
  }
  char buffer[8192];
  for (;;) {
    if (Expired(deadline)) return std::nullopt;
    DWORD read = 0;
    if (!m_api->ReadData(request, buffer, sizeof buffer, &read)) return std::nullopt;
    if (read == 0) return reply;
    if (reply.body.size() + read > maxBytes) return std::nullopt;
    reply.body.append(buffer, read);
  }
}

std::optional<HttpClient::Reply> HttpClient::Get(const std::string& url, unsigned budgetMs, size_t maxBytes) {
  const DWORD deadline = GetTickCount() + budgetMs;
  if (!Load()) return std::nullopt;
  HINTERNET connection = nullptr;
  HINTERNET request = Send(url, deadline, connection);
  std::optional<Reply> reply = request ? Receive(request, deadline, maxBytes) : std::nullopt;
  if (request) m_api->CloseHandle(request);
  if (connection) m_api->CloseHandle(connection);
  return reply;
}
