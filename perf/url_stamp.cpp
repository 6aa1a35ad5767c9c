// Stands in for the browser in the response measurement: the first thing it
// does is read the performance counter (one clock for every process of the
// session), then it appends "<counter>\t<arguments>" to the file that
// QUARROW_RECORD_FILE names. The driver subtracts the moment it pressed Enter.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  LARGE_INTEGER reached{};
  QueryPerformanceCounter(&reached);

  char record[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUARROW_RECORD_FILE", record, MAX_PATH)) return 1;

  // The arguments: the command line after the program's own (possibly quoted) name.
  const char* line = GetCommandLineA();
  if (*line == '"') {
    line = strchr(line + 1, '"');
    line = line ? line + 1 : "";
  } else {
    while (*line && *line != ' ') ++line;
  }
  while (*line == ' ') ++line;

  char text[4096];
  int length = snprintf(text, sizeof text, "%lld\t%s\n", static_cast<long long>(reached.QuadPart), line);
  if (length < 0) return 2;
  if (length >= static_cast<int>(sizeof text)) length = sizeof text - 1;
  HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  return 0;
}
