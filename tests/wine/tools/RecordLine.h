// What the stand-in browsers share: the arguments they were started with, and
// appending one line to the file that QUARROW_RECORD_FILE names.
#pragma once
#include <windows.h>

#include <cstring>

// The command line after the program's own (possibly quoted) name.
inline const char* ArgumentsOfThisProgram() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    line = strchr(line + 1, '"');
    line = line ? line + 1 : "";
  } else {
    while (*line && *line != ' ') ++line;
  }
  while (*line == ' ') ++line;
  return line;
}

// Appends `length` bytes of `text` to the record file; false if there is none
// or it could not be written.
// One writer at a time: Wine's append-only handle writes at the size it reads
// just before, so two browsers started moments apart (two quick searches)
// could write at the same place and one line would be lost. Another writer
// holding the file makes this one wait and try again; readers are let in.
inline bool AppendToRecordFile(const char* text, int length) {
  char record[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUARROW_RECORD_FILE", record, MAX_PATH)) return false;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 1000; ++attempt) {  // about ten seconds
    file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
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
