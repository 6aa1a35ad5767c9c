// Turning the query box's text into the URL a browser opens.
//
// What the user supplies is percent-encoded before it joins the engine's
// search code: typed as it is, "C++" would reach the engine as "C  " ('+' is a
// blank in a query), "C#" as "C" (the browser keeps a fragment to itself),
// "AT&T" as "AT" and a stray parameter. The search code itself is used as
// stored. An address is opened as typed.
#pragma once

#include <string>
#include <string_view>

class GbkCodec;

// The query as it is searched for: leading white space (blank, tab, 0x0A to
// 0x0D) removed; trailing white space stays.
std::string_view QueryAsSearched(std::string_view queryText);

// True when the query begins with "www." or "http:", ignoring letter case: it
// is then opened as it is, not searched for.
bool IsAddress(std::string_view query);

// Every byte of `bytes` outside A-Z a-z 0-9 - . _ ~ as %XX (capital hex
// digits); a blank is %20.
std::string PercentEncode(std::string_view bytes);

// The search code with `terms` put in: at each "{q}" percent-encoded UTF-8,
// at each "{q:gbk}" percent-encoded GBK (a character GBK cannot hold goes as
// "&#N;", as a browser sends it in a GBK form), at each "{q:raw}" as it is.
// A code without any of them gets the encoded terms appended. Other braces
// are the code's own text.
std::string FillSearchCode(std::string_view searchCode, std::string_view terms, const GbkCodec& gbk);

// What is searched for: "site:", the site and a blank if siteOn, then the
// query, then a blank and the keyword if keywordOn.
std::string SearchTerms(std::string_view query, bool siteOn, std::string_view site, bool keywordOn,
                        std::string_view keyword);

// An address is its own URL; otherwise the search code filled with the terms.
std::string ComposeSearchUrl(std::string_view query, std::string_view searchCode, bool siteOn,
                             std::string_view site, bool keywordOn, std::string_view keyword,
                             const GbkCodec& gbk);

// What OpenInBrowser hands to the shell for `url`. The shell takes a bare
// "www.example.com" for a file name first and would run a program of that name
// from the current directory (the one holding Quarrow.ini); such an address is
// given "http://" in front. Every other URL is passed on unchanged.
std::string UrlForShell(std::string_view url);
