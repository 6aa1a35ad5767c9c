#pragma once

#include <string>

// The application's title: the program file's name without its extension.
// Message boxes without a caption of their own show it.
std::string AppTitle();
