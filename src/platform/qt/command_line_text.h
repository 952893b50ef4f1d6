#pragma once

#include <string>
#include <vector>

namespace korvane {

/// The command line as the start-up reads it: the arguments after the program's name, without
/// the program's own options (--simulate, --blank-board, --help, --version), joined by single
/// blanks. An empty argument stays as an empty word ("S", "", "3" gives "S  3").
std::string CommandLineTextFromArguments(const std::vector<std::string>& arguments_after_name);

}  // namespace korvane
