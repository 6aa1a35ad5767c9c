// The reply of a suggestion service, read into the suggestions the query box
// offers. Two forms are understood:
//
//   OpenSearch (Google's client=firefox, Bing's osjson), JSON:
//     ["query", ["suggestion 1", "suggestion 2"], ...]
//   JSONP with a JavaScript object literal (Baidu), keys may be bare words:
//     window.baidu.sug({q:"天气",p:false,s:["天气预报","天气预报15天"]});
//
// Anything else, or either form broken anywhere, gives no suggestions: the
// box then shows none rather than a guess at what a damaged reply meant.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FileEncoding.h"

inline constexpr size_t kMaxSuggestions = 10;
inline constexpr size_t kMaxAnswerBytes = 256 * 1024;   // a larger body is refused unread

// The suggestions a reply holds, as the program's UTF-8 text, at most kMaxSuggestions, in the
// reply's order; empty for anything that is not one of the two forms above, or is broken.
// `contentType`: the reply's Content-Type header value ("" when none), which may name a charset:
// none or UTF-8 is read as UTF-8, GBK (also labelled gb2312 or gb18030) through `gbk`, any
// other charset gives nothing.
// Each suggestion has its control characters made blanks and is trimmed; empty ones, repeats
// and ones longer than the settings file keeps of a query (1023 UTF-16 units) are left out.
std::vector<std::string> ReadSuggestions(std::string_view body, std::string_view contentType, const GbkCodec& gbk);
