#include "cli/standard_output.h"

#include "cli/commands.h"
#include "platform/exit_cleanup.h"
#include "platform/terminal.h"

namespace tallowick::cli {

int FinishStandardOutput(std::ostream& out, std::ostream& err, int status) {
  out.flush();
  if (out) return status;
  if (platform::OutputReaderIsGone()) platform::EndAfterBrokenPipe();
  err << "tallowick-cli: standard output could not be written completely\n";
  return kExitFailure;
}

}  // namespace tallowick::cli
