#include "cli/console_process.h"

#include <cstdio>
#include <cstdlib>

namespace korvane {

void ConsoleProcess::EndNow() {
  std::fflush(nullptr);
  std::_Exit(0);
}

}  // namespace korvane
