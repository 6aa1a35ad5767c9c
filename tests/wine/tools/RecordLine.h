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

// Appends `length` bytes of `text` to the record file; false if there is none.
inline bool AppendToRecordFile(const char* text, int length) {
  char record[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUARROW_RECORD_FILE", record, MAX_PATH)) return false;
  HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  return true;
}

// snprintf's answer as a length to write: a cut text keeps what fit.
inline int FittedLength(int printed, int capacity) {
  if (printed < 0) return 0;
  return printed < capacity ? printed : capacity - 1;
}
