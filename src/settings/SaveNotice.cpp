#include "settings/SaveNotice.h"

#include "base/Text.h"
#include "base/Texts.h"

std::string SaveFailureReason(const SaveResult& result, std::string_view systemText) {
  switch (result.fault) {
    case SaveFault::kInUse: return std::string(kSaveFailedInUse);
    case SaveFault::kAccessDenied: return std::string(kSaveFailedAccessDenied);
    case SaveFault::kDiskFull: return std::string(kSaveFailedDiskFull);
    case SaveFault::kFolderMissing: return std::string(kSaveFailedFolderMissing);
    case SaveFault::kNone:
    case SaveFault::kOther: break;
  }
  systemText = Trim(systemText);
  if (!systemText.empty()) return std::string(systemText);
  // Past INT_MAX (an HRESULT) the code reads negative, as the system's tools show it.
  return std::string(kSaveFailedErrorCode) + FormatInt(static_cast<int>(result.systemError));
}

// The reason first: a notification shows only its first lines in full, and
// a long path is what can be cut.
std::string SaveFailureNote(std::string_view path, const SaveResult& result, std::string_view systemText) {
  return SaveFailureReason(result, systemText) + "\n" + std::string(path) + "\n" + std::string(kSaveFailedKeptInMemory);
}

std::string SaveFailureQuestion(std::string_view path, const SaveResult& result, std::string_view systemText) {
  return std::string(kSaveFailedFile) + "\n" + std::string(path) + "\n\n" + std::string(kSaveFailedBecause) +
         SaveFailureReason(result, systemText) + "\n\n" + std::string(kSaveFailedRetryOrCancel);
}
