#pragma once
// Runs a piece of work in a child process of its own (fork), so that a fault
// of a third-party reader on a damaged or hostile file ends that process and
// not the program. FreeXL 1.0.6 reads past its buffers on some crafted
// workbooks (found by fuzzing), so every workbook is read this way.
#include <functional>
#include <string>

namespace tallowick {

// Runs `work` in a child process and hands back the bytes it returned.
// False when the child did not finish normally (killed by a signal, an
// abort, or no answer); `message` then says how it ended.
bool RunInChildProcess(const std::function<std::string()>& work, std::string& message);

}  // namespace tallowick
