// The test server itself, with WinHTTP as the client the bar uses: the tests
// of the suggestions trust it to record requests exactly, to answer as told,
// to serve a second request while a first one hangs, and to end at once.
#include "LocalHttpServer.h"

#include <gtest/gtest.h>
#include <winhttp.h>

#include <optional>

#include "BarHarness.h"

namespace {

struct Fetched {
  DWORD error = 0;  // the WinHTTP call's error, 0 when an answer came
  DWORD status = 0;
  std::string contentType, body;
};

HttpReply Reply(std::string body, DWORD delayMs = 0) {
  HttpReply reply;
  reply.body = std::move(body);
  reply.delayMs = delayMs;
  return reply;
}

// One GET to 127.0.0.1 with WinHTTP, its target passed as it is.
Fetched Fetch(int port, const std::string& target) {
  Fetched result;
  HINTERNET session = WinHttpOpen(L"QuarrowTest", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0);
  HINTERNET connection = session ? WinHttpConnect(session, L"127.0.0.1", static_cast<INTERNET_PORT>(port), 0) : nullptr;
  HINTERNET request = connection ? WinHttpOpenRequest(connection, L"GET", Wide(target).c_str(), nullptr,
                                                      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                 : nullptr;
  DWORD size = sizeof result.status;
  wchar_t type[256] = {};
  DWORD typeSize = sizeof type;
  // Wine's WinHTTP waits for the reply's headers without end unless this
  // option is set: WinHttpSetTimeouts' receive time-out does not cover it.
  DWORD timeoutMs = 10000;
  if (!request || !WinHttpSetTimeouts(request, timeoutMs, timeoutMs, timeoutMs, timeoutMs) ||
      !WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeoutMs, sizeof timeoutMs) ||
      !WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
      !WinHttpReceiveResponse(request, nullptr) ||
      !WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &result.status, &size, WINHTTP_NO_HEADER_INDEX)) {
    result.error = GetLastError();
  } else {
    if (WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_TYPE, WINHTTP_HEADER_NAME_BY_INDEX, type, &typeSize,
                            WINHTTP_NO_HEADER_INDEX))
      result.contentType = Utf8(type);
    char buffer[65536];
    DWORD got = 0;
    while (WinHttpReadData(request, buffer, sizeof buffer, &got) && got) result.body.append(buffer, got);
  }
  for (HINTERNET handle : {request, connection, session})
    if (handle) WinHttpCloseHandle(handle);
  return result;
}

// A Fetch on a thread of its own, for requests that wait while the test goes on.
class FetchInBackground {
 public:
  FetchInBackground(int port, std::string target) : m_port(port), m_target(std::move(target)) {
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~FetchInBackground() { Join(); }
  const Fetched& Join() {
    if (m_thread) {
      WaitForSingleObject(m_thread, INFINITE);
      CloseHandle(m_thread);
      m_thread = nullptr;
    }
    return m_result;
  }
  DWORD EndedAt() const { return m_endedAt; }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* fetch = static_cast<FetchInBackground*>(self);
    fetch->m_result = Fetch(fetch->m_port, fetch->m_target);
    fetch->m_endedAt = GetTickCount();
    return 0;
  }
  int m_port;
  std::string m_target;
  Fetched m_result;
  DWORD m_endedAt = 0;
  HANDLE m_thread = nullptr;
};

TEST(LocalHttpServer, RecordsTheRequestAsSentAndAnswersAsTold) {
  struct Case {
    const char* target;
    int status;
    const char* contentType;
    std::string body;
  };
  const Case cases[] = {
      {"/su?wd=%E5%A4%A9%E6%B0%94+a&cb=x%2Fy", 200, "application/json; charset=utf-8",
       "[\"天气\",[\"天气预报\",\"天气 北京\"]]"},
      {"/missing", 404, "text/html; charset=gbk", "\xC3\xBB\xD3\xD0"},
      {"/busy?q=1", 503, "text/plain", ""},
  };
  size_t index = 0;
  LocalHttpServer server([&](const HttpRequest& request) {
    // Requests come one after the other here: the index is the test's own.
    HttpReply reply;
    reply.status = request.target == cases[index].target ? cases[index].status : 500;
    reply.contentType = cases[index].contentType;
    reply.body = cases[index].body;
    return reply;
  });
  ASSERT_TRUE(server.Started());
  for (; index < std::size(cases); ++index) {
    const Case& sent = cases[index];
    SCOPED_TRACE(sent.target);
    Fetched fetched = Fetch(server.Port(), sent.target);
    ASSERT_EQ(fetched.error, 0u);
    EXPECT_EQ(fetched.status, static_cast<DWORD>(sent.status));
    EXPECT_EQ(fetched.contentType, sent.contentType);
    EXPECT_EQ(fetched.body, sent.body);
    std::vector<HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), index + 1);
    EXPECT_EQ(requests.back().method, "GET");
    EXPECT_EQ(requests.back().target, sent.target);
    EXPECT_EQ(requests.back().Header("host"), "127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_EQ(requests.back().Header("User-Agent"), "QuarrowTest");
  }
}

// A plain client socket connected to 127.0.0.1 at `port`, for what WinHTTP
// will not do; INVALID_SOCKET when nothing accepts there.
class RawClient {
 public:
  explicit RawClient(int port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(port));
    if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      closesocket(m_socket);
      m_socket = INVALID_SOCKET;
    }
  }
  ~RawClient() {
    if (m_socket != INVALID_SOCKET) closesocket(m_socket);
    WSACleanup();
  }
  bool Connected() const { return m_socket != INVALID_SOCKET; }
  // Sends `request`, waits `waitMs` without reading, then reads until the
  // server closes.
  std::string AskAndReadLate(std::string_view request, DWORD waitMs) {
    std::string received;
    if (send(m_socket, request.data(), static_cast<int>(request.size()), 0) != static_cast<int>(request.size()))
      return received;
    Sleep(waitMs);
    char buffer[65536];
    for (int got; (got = recv(m_socket, buffer, sizeof buffer, 0)) > 0;) received.append(buffer, got);
    return received;
  }

 private:
  SOCKET m_socket = INVALID_SOCKET;
};

TEST(LocalHttpServer, SendsALargeBodyWhole) {
  std::string large(8 * 1024 * 1024, '\0');
  for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>('a' + i * 7 % 26);
  LocalHttpServer server([&](const HttpRequest& request) {
    return Reply(request.target == "/late" ? large : large.substr(0, 2 * 1024 * 1024));
  });
  Fetched fetched = Fetch(server.Port(), "/large");
  ASSERT_EQ(fetched.error, 0u);
  EXPECT_EQ(fetched.body.size(), 2u * 1024 * 1024);
  EXPECT_TRUE(fetched.body == large.substr(0, 2 * 1024 * 1024));
  // More than the sockets hold while nobody reads (about 3 MB under Wine):
  // the server has to wait until the reader makes room.
  std::string late = RawClient(server.Port()).AskAndReadLate("GET /late HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 500);
  size_t headEnd = late.find("\r\n\r\n");
  ASSERT_NE(headEnd, std::string::npos);
  EXPECT_NE(late.substr(0, headEnd).find("\r\nContent-Length: 8388608\r\n"), std::string::npos);
  EXPECT_EQ(late.size() - headEnd - 4, large.size());
  EXPECT_TRUE(late.compare(headEnd + 4, std::string::npos, large) == 0);
}

TEST(LocalHttpServer, AnswersTheNextRequestWhileOneIsHeldBack) {
  LocalHttpServer server([](const HttpRequest& request) {
    return Reply(request.target, request.target == "/slow" ? 3000 : 0);
  });
  FetchInBackground slow(server.Port(), "/slow");
  // Recorded on arrival, not when its answer goes out.
  ASSERT_TRUE(server.WaitForRequests(1, 2000));
  DWORD start = GetTickCount();
  Fetched quick = Fetch(server.Port(), "/quick");
  DWORD quickMs = GetTickCount() - start;
  EXPECT_EQ(quick.body, "/quick");
  EXPECT_LT(quickMs, 1000u);
  EXPECT_EQ(slow.Join().body, "/slow");
  std::vector<HttpRequest> requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target, "/slow");
  EXPECT_GE(slow.EndedAt() - requests[0].atMs, 2900u);
  EXPECT_LE(requests[0].atMs, requests[1].atMs);
}

TEST(LocalHttpServer, EndsAtOnceWhileAReplyWaitsAndLeavesThePortClosed) {
  std::optional<LocalHttpServer> server(std::in_place, [](const HttpRequest&) {
    return Reply("late", 6000);
  });
  const int port = server->Port();
  FetchInBackground hanging(port, "/hang");
  ASSERT_TRUE(server->WaitForRequests(1, 2000));
  DWORD start = GetTickCount();
  server.reset();
  EXPECT_LT(GetTickCount() - start, 500u);
  // The client saw its connection dropped, not the late answer.
  start = GetTickCount();
  EXPECT_NE(hanging.Join().error, 0u);
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_FALSE(RawClient(port).Connected());
}

TEST(LocalHttpServer, DropsTheConnectionWhenToldTo) {
  LocalHttpServer server([](const HttpRequest&) {
    HttpReply reply = Reply("never");
    reply.closeWithoutAnswer = true;
    return reply;
  });
  Fetched fetched = Fetch(server.Port(), "/broken");
  EXPECT_NE(fetched.error, 0u);
  EXPECT_EQ(fetched.body, "");
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(LocalHttpServer, QueryParameterDecodesPercentEscapes) {
  struct Case {
    const char* target;
    const char* name;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"/s?wd=1&q=%E5%A4%A9", "q", "天"},
      {"/s?q=%e5%a4%a9%F0%9F%8D%9C", "q", "天🍜"},
      {"/s?q=a+b%2Bc%20d", "q", "a+b+c d"},
      {"/s?q=100%25", "q", "100%"},
      {"/s?q=%G1%4", "q", "%G1%4"},  // not escapes: kept
      {"/s?q=%00x", "q", std::string("\0x", 2)},
      {"/s?q=a=b?c", "q", "a=b?c"},
      {"/s?qq=1&q=2&q=3", "q", "2"},  // a name is matched whole; the first wins
      {"/s?q=1#q=2", "q", "1"},
      {"/s?x=1#&q=2", "q", std::nullopt},  // past the fragment
      {"/s?q&r=1", "q", ""},
      {"/s?q=&r=1", "q", ""},
      {"/s?%E5%90%8D=%E5%80%BC", "名", "值"},
      {"/s?wd=1", "q", std::nullopt},
      {"/q=1", "q", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(QueryParameter(c.target, c.name), c.value);
  }
}

}  // namespace
