#include "search/SearchUrl.h"

#include "base/Text.h"

namespace {

constexpr std::string_view kWebPrefix = "www.";
constexpr std::string_view kHttpPrefix = "http:";
constexpr std::string_view kSitePrefix = "site:";
constexpr std::string_view kHttpScheme = "http://";

}  // namespace

std::string_view QueryAsSearched(std::string_view queryText) { return TrimLeft(queryText); }

bool IsAddress(std::string_view query) {
  return StartsWithIgnoreCase(query, kWebPrefix) || StartsWithIgnoreCase(query, kHttpPrefix);
}

std::string ComposeSearchUrl(std::string_view query, std::string_view searchCode, bool siteOn,
                             std::string_view site, bool keywordOn, std::string_view keyword) {
  if (IsAddress(query)) return std::string(query);
  std::string url(searchCode);
  if (siteOn) url.append(kSitePrefix).append(site).push_back(' ');
  url.append(query);
  if (keywordOn) url.append(" ").append(keyword);
  return url;
}

std::string UrlForShell(std::string_view url) {
  if (StartsWithIgnoreCase(url, kWebPrefix)) return std::string(kHttpScheme).append(url);
  return std::string(url);
}
