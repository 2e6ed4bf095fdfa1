// The viewer on POSIX: the arguments joined with single blanks are the
// parameter string of the Windows program; its result is the exit status.
// With no arguments, or a first one beginning with '-', it is the command
// line instead (no parameter string begins with '-').
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "invocation.h"

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunCommandLine(args, ReadFirmwareTables, stdout, stderr);
  }
  std::string parameters;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) parameters += ' ';
    parameters += argv[i];
  }
  return SyslensMain(PlatProgramModule(), parameters.c_str(), 1);
}
