// Turning the query box's text into the URL a browser opens. Nothing is
// escaped or encoded: every text is passed on as its code-page bytes.
#pragma once

#include <string>
#include <string_view>

// The query as it is searched for: leading white space (blank, tab, 0x0A to
// 0x0D) removed; trailing white space stays.
std::string_view QueryAsSearched(std::string_view queryText);

// True when the query begins with "www." or "http:", ignoring letter case: it
// is then opened as it is, not searched for.
bool IsAddress(std::string_view query);

// An address is its own URL. Otherwise: the search code, then "site:", the
// site and a blank if siteOn, then the query, then a blank and the keyword if
// keywordOn.
std::string ComposeSearchUrl(std::string_view query, std::string_view searchCode, bool siteOn,
                             std::string_view site, bool keywordOn, std::string_view keyword);

// What OpenInBrowser hands to the shell for `url`. The shell takes a bare
// "www.example.com" for a file name first and would run a program of that name
// from the current directory (the one holding Quarrow.ini); such an address is
// given "http://" in front. Every other URL is passed on unchanged.
std::string UrlForShell(std::string_view url);
