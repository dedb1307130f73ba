// The program's arguments as UTF-8 texts. On Windows main's argv is in the ANSI code page,
// which cannot hold every file name (a Chinese name under a Western code page, or a character
// outside GBK under a Chinese one): the arguments are taken from the wide command line there.
#pragma once

#include <string>
#include <vector>

namespace qm {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace qm
