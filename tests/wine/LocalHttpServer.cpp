#include "LocalHttpServer.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <utility>

namespace {

// More than any real client sends before its blank line; a request that
// goes on longer is dropped rather than held in memory without end.
constexpr size_t kMaxRequestHead = 64 * 1024;
// After its reply the server waits this long for the client to close first:
// a close with bytes of the client still unread (a request body) is a reset,
// and Windows then drops what the client had not read yet of the reply.
// (Linux, and so Wine, keeps it: nothing here can show the difference.)
constexpr DWORD kLingerMs = 1000;

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 429: return "Too Many Requests";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    int high = -1, low = -1;
    if (text[i] == '%' && i + 2 < text.size()) {
      high = HexDigit(text[i + 1]);
      low = HexDigit(text[i + 2]);
    }
    if (high >= 0 && low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

}  // namespace

std::optional<std::string> HttpRequest::Header(std::string_view name) const {
  std::string_view rest = headers;
  while (!rest.empty()) {
    size_t end = rest.find("\r\n");
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    size_t colon = line.find(':');
    if (colon != std::string_view::npos && SameIgnoringCase(Trim(line.substr(0, colon)), name))
      return std::string(Trim(line.substr(colon + 1)));
  }
  return std::nullopt;
}

std::optional<std::string> QueryParameter(std::string_view target, std::string_view name) {
  size_t question = target.find('?');
  if (question == std::string_view::npos) return std::nullopt;
  std::string_view query = target.substr(question + 1);
  query = query.substr(0, query.find('#'));
  while (true) {
    size_t amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    size_t equals = pair.find('=');
    if (!pair.empty() && PercentDecoded(pair.substr(0, equals)) == name)
      return equals == std::string_view::npos ? std::string() : PercentDecoded(pair.substr(equals + 1));
    if (amp == std::string_view::npos) return std::nullopt;
    query.remove_prefix(amp + 1);
  }
}

// One accepted connection; its thread owns it and deletes it when done.
struct LocalHttpServer::Connection {
  LocalHttpServer* server;
  SOCKET socket;
  WSAEVENT event;  // the socket's readiness, through WSAEventSelect

  ~Connection() {
    closesocket(socket);
    WSACloseEvent(event);
  }

  // Waits until the socket has news or `ms` have passed; false when the
  // server stops, or on a timeout. The socket is non-blocking throughout, so
  // that no recv or send can outlive the destructor's stop.
  bool Wait(DWORD ms = INFINITE) {
    HANDLE handles[] = {server->m_stop, event};  // the stop first: it wins when both are set
    if (WaitForMultipleObjects(2, handles, FALSE, ms) != WAIT_OBJECT_0 + 1) return false;
    WSANETWORKEVENTS news;
    WSAEnumNetworkEvents(socket, event, &news);  // resets the event for the next wait
    return true;
  }

  // The request line and the headers up to the blank line, with that line;
  // empty when the client closed first, went on too long or the server stops.
  std::string ReadHead() {
    std::string head;
    char buffer[4096];
    for (;;) {
      int got = recv(socket, buffer, sizeof buffer, 0);
      if (got > 0) {
        size_t searchFrom = head.size() < 3 ? 0 : head.size() - 3;
        head.append(buffer, got);
        size_t end = head.find("\r\n\r\n", searchFrom);
        // Bytes past the blank line are a body, which no test looks at.
        if (end != std::string::npos) return head.substr(0, end + 4);
        if (head.size() > kMaxRequestHead) return {};
      } else if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK || !Wait()) {
        return {};
      }
    }
  }

  bool SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
      int chunk = static_cast<int>(std::min<size_t>(bytes.size(), 1 << 20));
      int sent = send(socket, bytes.data(), chunk, 0);
      if (sent > 0) {
        bytes.remove_prefix(sent);
      } else if (WSAGetLastError() != WSAEWOULDBLOCK || !Wait()) {
        return false;
      }
    }
    return true;
  }

  // Ends the sending side and gives the client a moment to read everything
  // and close its own side.
  void FinishGracefully() {
    shutdown(socket, SD_SEND);
    DWORD start = GetTickCount();
    char buffer[4096];
    for (;;) {
      int got = recv(socket, buffer, sizeof buffer, 0);
      if (got > 0) continue;
      if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) return;
      DWORD waited = GetTickCount() - start;
      if (waited >= kLingerMs || !Wait(kLingerMs - waited)) return;
    }
  }
};

LocalHttpServer::LocalHttpServer(std::function<HttpReply(const HttpRequest&)> answer) : m_answer(std::move(answer)) {
  WSADATA data;
  m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!m_winsock) return;
  m_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_acceptEvent = WSACreateEvent();
  m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (!m_stop || m_acceptEvent == WSA_INVALID_EVENT || m_listener == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;  // the system picks a free port
  int length = sizeof address;
  if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(m_listener, SOMAXCONN) != 0 ||
      getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      WSAEventSelect(m_listener, m_acceptEvent, FD_ACCEPT) != 0)
    return;
  m_port = ntohs(address.sin_port);
  m_acceptThread = CreateThread(nullptr, 0, AcceptThread, this, 0, nullptr);
}

LocalHttpServer::~LocalHttpServer() {
  if (m_stop) SetEvent(m_stop);
  if (m_acceptThread) {
    WaitForSingleObject(m_acceptThread, INFINITE);
    CloseHandle(m_acceptThread);
  }
  // The accept thread has ended: nothing adds to the list any more.
  for (HANDLE thread : m_connectionThreads) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  if (m_listener != INVALID_SOCKET) closesocket(m_listener);
  if (m_acceptEvent != WSA_INVALID_EVENT) WSACloseEvent(m_acceptEvent);
  if (m_stop) CloseHandle(m_stop);
  if (m_winsock) WSACleanup();
}

std::string LocalHttpServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(m_port) + std::string(path);
}

std::vector<HttpRequest> LocalHttpServer::Requests() const {
  AcquireSRWLockShared(&m_lock);
  std::vector<HttpRequest> copy = m_requests;
  ReleaseSRWLockShared(&m_lock);
  return copy;
}

bool LocalHttpServer::WaitForRequests(size_t count, DWORD ms) const {
  DWORD start = GetTickCount();
  AcquireSRWLockExclusive(&m_lock);
  for (;;) {
    if (m_requests.size() >= count) break;
    DWORD waited = GetTickCount() - start;
    if (waited >= ms) break;
    SleepConditionVariableSRW(&m_arrived, &m_lock, ms - waited, 0);
  }
  bool arrived = m_requests.size() >= count;
  ReleaseSRWLockExclusive(&m_lock);
  return arrived;
}

void LocalHttpServer::Record(const HttpRequest& request) {
  AcquireSRWLockExclusive(&m_lock);
  m_requests.push_back(request);
  ReleaseSRWLockExclusive(&m_lock);
  WakeAllConditionVariable(&m_arrived);
}

DWORD WINAPI LocalHttpServer::AcceptThread(void* self) {
  static_cast<LocalHttpServer*>(self)->AcceptAll();
  return 0;
}

void LocalHttpServer::AcceptAll() {
  for (;;) {
    HANDLE handles[] = {m_stop, m_acceptEvent};
    if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    WSANETWORKEVENTS news;
    WSAEnumNetworkEvents(m_listener, m_acceptEvent, &news);
    // Every connection waiting, until accept would block (which arms the
    // event again).
    for (;;) {
      SOCKET accepted = accept(m_listener, nullptr, nullptr);
      if (accepted == INVALID_SOCKET) break;
      // An accepted socket takes over the listener's event selection: it
      // gets its own event and the readiness a connection waits for.
      auto* connection = new Connection{this, accepted, WSACreateEvent()};
      HANDLE thread = nullptr;
      if (connection->event != WSA_INVALID_EVENT &&
          WSAEventSelect(accepted, connection->event, FD_READ | FD_WRITE | FD_CLOSE) == 0)
        thread = CreateThread(nullptr, 0, ConnectionThread, connection, 0, nullptr);
      if (!thread) {
        delete connection;
        continue;
      }
      // Threads that have ended are let go of here, so that a long test does
      // not collect handles.
      std::erase_if(m_connectionThreads, [](HANDLE old) {
        bool ended = WaitForSingleObject(old, 0) == WAIT_OBJECT_0;
        if (ended) CloseHandle(old);
        return ended;
      });
      m_connectionThreads.push_back(thread);
    }
  }
}

DWORD WINAPI LocalHttpServer::ConnectionThread(void* connection) {
  auto* served = static_cast<Connection*>(connection);
  served->server->Serve(*served);
  delete served;
  return 0;
}

void LocalHttpServer::Serve(Connection& connection) {
  std::string head = connection.ReadHead();
  if (head.empty()) return;
  HttpRequest request;
  request.atMs = GetTickCount();
  size_t lineEnd = head.find("\r\n");
  std::string_view line = std::string_view(head).substr(0, lineEnd);
  size_t firstSpace = line.find(' ');
  size_t lastSpace = line.rfind(' ');
  if (firstSpace == std::string_view::npos || lastSpace == firstSpace) {
    connection.SendAll("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    return;
  }
  request.method = line.substr(0, firstSpace);
  request.target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  request.headers = head.substr(lineEnd + 2, head.size() - lineEnd - 4);
  Record(request);

  HttpReply reply = m_answer(request);
  if (reply.delayMs && WaitForSingleObject(m_stop, reply.delayMs) == WAIT_OBJECT_0) return;
  if (reply.closeWithoutAnswer) return;
  std::string message = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n" +
                        "Content-Type: " + reply.contentType + "\r\n" +
                        "Content-Length: " + std::to_string(reply.body.size()) + "\r\n" + reply.headers +
                        "Connection: close\r\n\r\n";
  if (connection.SendAll(message) && connection.SendAll(reply.body)) connection.FinishGracefully();
}
