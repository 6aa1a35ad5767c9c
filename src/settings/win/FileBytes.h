// A file's bytes, read or written whole, named by the program's UTF-8 path.
#pragma once

#include <windows.h>

#include <string>

enum class FileState { kMissing, kUnreadable, kRead };

// The file at `path` as it is now: kMissing when there is none, kUnreadable
// when it cannot be read (locked, a folder of that name, no permission), with
// the system's reason in `error` when given.
FileState ReadFileBytes(const std::string& path, std::string& bytes, DWORD* error = nullptr);

// All of `bytes` to the open `file`; false at the first failure.
bool WriteFileBytes(HANDLE file, const std::string& bytes);
