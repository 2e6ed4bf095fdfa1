// The viewer on POSIX: the arguments joined with single blanks are the
// parameter string of the Windows program; its result is the exit status.
#include <string>

#include "syslens.h"

int main(int argc, char** argv) {
  std::string parameters;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) parameters += ' ';
    parameters += argv[i];
  }
  return SyslensMain(PlatProgramModule(), parameters.c_str(), 1);
}
