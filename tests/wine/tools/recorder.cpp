// Stands in for a browser in the tests' Wine prefix: appends one line with the
// name it was started as and its arguments to the file that
// QUARROW_RECORD_FILE names, so a test can see exactly what reached the browser.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main() {
  char record[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("QUARROW_RECORD_FILE", record, MAX_PATH)) return 1;

  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const char* name = strrchr(self, '\\');
  name = name ? name + 1 : self;

  // The arguments: the command line after the program's own (possibly quoted) name.
  const char* line = GetCommandLineA();
  if (*line == '"') {
    line = strchr(line + 1, '"');
    line = line ? line + 1 : "";
  } else {
    while (*line && *line != ' ') ++line;
  }
  while (*line == ' ') ++line;

  HANDLE file = CreateFileA(record, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  char text[8192];
  int length = snprintf(text, sizeof text, "%s\t%s\n", name, line);
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length < (int)sizeof text ? length : (int)sizeof text - 1),
            &written, nullptr);
  CloseHandle(file);
  return 0;
}
