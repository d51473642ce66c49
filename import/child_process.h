#pragma once
// Runs a piece of work in a child process of its own (fork), so that a fault
// of a third-party reader on a damaged or hostile file ends that process and
// not the program. FreeXL 1.0.6 reads past its buffers on some crafted
// workbooks (found by fuzzing), so every workbook is read this way.
#include <functional>
#include <string>

namespace tallowick {

// Reading the largest workbook the format allows (65,536 rows × 256 columns)
// takes a few seconds; this is far beyond that.
inline constexpr unsigned kChildProcessorSeconds = 120;

// Runs `work` in a child process and hands back the bytes it returned.
// False when the child did not finish normally (killed by a signal, an
// abort, no answer, or more than `cpuSeconds` of processor time, so that a
// reader caught in a loop cannot hang the program); `message` then says how
// it ended.
bool RunInChildProcess(const std::function<std::string()>& work, std::string& message,
                       unsigned cpuSeconds = kChildProcessorSeconds);

}  // namespace tallowick
