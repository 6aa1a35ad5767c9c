// Sections and keys of Quarrow.ini. Indexed keys are a prefix and a decimal
// index counted from 0 ("E0", "K12", "H99"); see IndexedKey.
#pragma once

#include <string_view>

namespace keys {

inline constexpr std::string_view kEngine = "Engine";
inline constexpr std::string_view kKey = "Key";
inline constexpr std::string_view kSite = "Site";
inline constexpr std::string_view kHistory = "History";
inline constexpr std::string_view kSetting = "Setting";

inline constexpr std::string_view kNumber = "Number";        // count of a list
inline constexpr std::string_view kEngineName = "E";         // Engine: E%d
inline constexpr std::string_view kEngineCode = "S";         // Engine: S%d
inline constexpr std::string_view kEngineShortcut = "A";     // Engine: A%d
inline constexpr std::string_view kEngineSuggest = "U";      // Engine: U%d
inline constexpr std::string_view kKeyword = "K";            // Key: K%d
inline constexpr std::string_view kSiteEntry = "S";          // Site: S%d
inline constexpr std::string_view kHistoryEntry = "H";       // History: H%d

inline constexpr std::string_view kUseIE = "UseIE";
inline constexpr std::string_view kDoubleClickRight = "DoubleClickRight";
inline constexpr std::string_view kUseImg = "UseImg";
inline constexpr std::string_view kImgNumber = "ImgNumber";
inline constexpr std::string_view kSuggest = "Suggest";

}  // namespace keys
