// The messages that a failed load shows, shared by the window and the command line.
#pragma once

#include "base/prompter.h"
#include "files/data_file.h"

namespace qm {

// The message box for a load status other than Ok (title "文件错误", information icon).
Message LoadStatusMessage(LoadStatus status);

}  // namespace qm
