#pragma once
// The end of a run's standard output: written out completely, or the run
// fails. A reader that went away (`tallowick-cli preview ... | head`) ends
// the run as a broken pipe would have: status 141.
#include <ostream>

namespace tallowick::cli {

// Flushes `out` (the stream on standard output) and returns `status` when
// everything reached it. When standard output is a pipe or socket nobody
// reads any more, ends the process after the clean-up actions with
// 128 + SIGPIPE; on any other write failure names it on `err` and returns 1.
int FinishStandardOutput(std::ostream& out, std::ostream& err, int status);

}  // namespace tallowick::cli
