// What the stand-in browsers share: the arguments they were started with, and
// appending one line to the file that QUARROW_RECORD_FILE names.
#pragma once
#include <windows.h>

#include <string>

// UTF-8 of UTF-16 text: the record file is UTF-8, so a check sees exactly
// what the browser was given, in any script and under any code page.
inline std::string RecordedText(const wchar_t* text, int length = -1) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  if (length < 0 && !out.empty()) out.pop_back();  // the terminating zero
  return out;
}

// The command line after the program's own (possibly quoted) name, from the
// wide command line (the ANSI one holds only what the system's code page
// can), in UTF-8.
inline const char* ArgumentsOfThisProgram() {
  static std::string arguments;
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    line = wcschr(line + 1, L'"');
    line = line ? line + 1 : L"";
  } else {
    while (*line && *line != L' ') ++line;
  }
  while (*line == L' ') ++line;
  arguments = RecordedText(line);
  return arguments.c_str();
}

// The file name this program was started from, in UTF-8.
inline std::string NameOfThisProgram() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const wchar_t* name = wcsrchr(self, L'\\');
  return RecordedText(name ? name + 1 : self);
}

// Appends `length` bytes of `text` to the record file; false if there is none
// or it could not be written.
// One writer at a time: Wine's append-only handle writes at the size it reads
// just before, so two browsers started moments apart (two quick searches)
// could write at the same place and one line would be lost. Another writer
// holding the file makes this one wait and try again; readers are let in.
inline bool AppendToRecordFile(const char* text, int length) {
  wchar_t record[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"QUARROW_RECORD_FILE", record, MAX_PATH)) return false;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 1000; ++attempt) {  // about ten seconds
    file = CreateFileW(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(10);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool whole = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) &&
               written == static_cast<DWORD>(length);
  CloseHandle(file);
  return whole;
}

// snprintf's answer as a length to write: a cut text keeps what fit.
inline int FittedLength(int printed, int capacity) {
  if (printed < 0) return 0;
  return printed < capacity ? printed : capacity - 1;
}
