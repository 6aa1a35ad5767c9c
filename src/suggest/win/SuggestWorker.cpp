#include "suggest/win/SuggestWorker.h"

#include <optional>

#include "suggest/SuggestAnswer.h"
#include "suggest/SuggestRequest.h"
#include "suggest/win/HttpGet.h"
#include "settings/win/SystemGbk.h"

struct SuggestWorker::Shared {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  HWND bar = nullptr;
  UINT answered = 0;
  bool stop = false;
  std::optional<std::pair<unsigned, std::string>> pending;  // generation, address

  // The next request, or nothing once the worker is to stop.
  std::optional<std::pair<unsigned, std::string>> Next() {
    AcquireSRWLockExclusive(&lock);
    while (!stop && !pending) SleepConditionVariableSRW(&wake, &lock, INFINITE, 0);
    std::optional<std::pair<unsigned, std::string>> next;
    if (!stop) next.swap(pending);
    ReleaseSRWLockExclusive(&lock);
    return next;
  }
  bool Stopping() {
    AcquireSRWLockShared(&lock);
    const bool stopping = stop;
    ReleaseSRWLockShared(&lock);
    return stopping;
  }
};

// The thread holds its own reference to what it shares with the bar, so that
// either may go first.
DWORD WINAPI SuggestWorker::Run(void* parameter) {
  std::shared_ptr<SuggestWorker::Shared>* held = static_cast<std::shared_ptr<SuggestWorker::Shared>*>(parameter);
  std::shared_ptr<SuggestWorker::Shared> shared = std::move(*held);
  delete held;
  HttpClient client;
  while (auto request = shared->Next()) {
    auto answer = std::make_unique<SuggestAnswer>();
    answer->generation = request->first;
    if (std::optional<HttpClient::Reply> reply = client.Get(request->second, kSuggestBudgetMs, kMaxAnswerBytes)) {
      answer->suggestions = ReadSuggestions(reply->body, reply->contentType, SystemGbk());
    }
    if (shared->Stopping()) break;
    if (PostMessageW(shared->bar, shared->answered, 0, reinterpret_cast<LPARAM>(answer.get()))) answer.release();
  }
  return 0;
}

SuggestWorker::SuggestWorker(HWND bar, UINT answered) : m_shared(std::make_shared<Shared>()) {
  m_shared->bar = bar;
  m_shared->answered = answered;
}

SuggestWorker::~SuggestWorker() {
  AcquireSRWLockExclusive(&m_shared->lock);
  m_shared->stop = true;
  ReleaseSRWLockExclusive(&m_shared->lock);
  WakeConditionVariable(&m_shared->wake);
}

void SuggestWorker::Ask(unsigned generation, const std::string& url) {
  AcquireSRWLockExclusive(&m_shared->lock);
  m_shared->pending.emplace(generation, url);
  ReleaseSRWLockExclusive(&m_shared->lock);
  WakeConditionVariable(&m_shared->wake);
  if (m_started) return;
  auto* held = new std::shared_ptr<Shared>(m_shared);
  HANDLE thread = CreateThread(nullptr, 0, Run, held, 0, nullptr);
  if (!thread) {
    delete held;
    return;  // no thread to be had: no suggestions, nothing else lost
  }
  CloseHandle(thread);
  m_started = true;
}
