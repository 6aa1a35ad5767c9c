#pragma once

#include <string>

// Hands a search URL to Internet Explorer or to the default browser. The
// result of the launch is not looked at.
void OpenInBrowser(const std::string& url, bool useIE);
