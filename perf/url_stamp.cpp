// Stands in for the browser in the response measurement: the first thing it
// does is read the performance counter (one clock for every process of the
// session), then it appends "<counter>\t<arguments>" to the file that
// QUARROW_RECORD_FILE names. The driver subtracts the moment it pressed Enter.
#include "RecordLine.h"

#include <cstdio>

int main() {
  LARGE_INTEGER reached{};
  QueryPerformanceCounter(&reached);

  char text[4096];
  int length = snprintf(text, sizeof text, "%lld\t%s\n", static_cast<long long>(reached.QuadPart),
                        ArgumentsOfThisProgram());
  return AppendToRecordFile(text, FittedLength(length, sizeof text)) ? 0 : 3;
}
