// Stands in for a browser in the tests' Wine prefix: appends one line with the
// name it was started as and its arguments to the file that
// QUARROW_RECORD_FILE names, so a test can see exactly what reached the browser.
#include "RecordLine.h"

#include <cstdio>

int main() {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const char* name = strrchr(self, '\\');
  name = name ? name + 1 : self;

  char text[8192];
  int length = snprintf(text, sizeof text, "%s\t%s\n", name, ArgumentsOfThisProgram());
  return AppendToRecordFile(text, FittedLength(length, sizeof text)) ? 0 : 2;
}
