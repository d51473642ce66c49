#pragma once
// Opening a file with the desktop's program for it (xdg-open on Unix desktops).
#include <chrono>
#include <string>

namespace tallowick {

// Starts `opener` (found on PATH) with `path` and waits at most `wait` for it
// to end. True when it ended with status 0, or was still running when the
// wait was over (it handed the file to a program that stays). False when it
// could not be started or ended otherwise (no program for the file, no such
// file). An opener still running is reaped in the background later.
bool OpenWithDesktopProgram(const std::string& path, const std::string& opener = "xdg-open",
                            std::chrono::milliseconds wait = std::chrono::seconds(3));

}  // namespace tallowick
