// Stands in for a browser in the tests' Wine prefix: appends one line with the
// name it was started as and its arguments, both from the wide command line
// and written as UTF-8, to the file that QUARROW_RECORD_FILE names, so a test
// can see exactly what reached the browser.
#include "RecordLine.h"

int main() {
  std::string line = NameOfThisProgram() + "\t" + ArgumentsOfThisProgram() + "\n";
  return AppendToRecordFile(line.data(), static_cast<int>(line.size())) ? 0 : 2;
}
