#include <iostream>

#include "cli/commands.h"
#include "cli/source_options.h"
#include "cli/table_output.h"
#include "cli/terminal_sinks.h"
#include "source/query_run.h"

namespace tallowick::cli {

int RunPreview(const Words& args, std::ostream& out, std::ostream& err) {
  std::set<std::string> valued = SourceValuedOptions();
  valued.insert({"--query", "--format"});
  const Arguments arguments(args, valued, SourceFlagOptions());
  if (arguments.Has("--help")) {
    out << "usage: tallowick-cli preview SOURCE --query SQL [--format text|csv|json]\n\n"
           "Shows the rows of a SELECT query as the generator page previews them\n"
           "(at most 65,535 rows).\n\n"
        << kSourceHelp;
    return kExitOk;
  }
  const auto query = arguments.Value("--query");
  if (!query) throw UsageError("preview needs --query SQL");
  if (!arguments.Positionals().empty()) throw UsageError("preview takes no positional arguments");
  const OutputFormat format = ParseOutputFormat(arguments.ValueOr("--format", "text"));

  OpenedSource source = OpenSource(arguments, err);
  if (!source.error.empty()) return Fail(err, source.error);

  PreviewTable table;
  StreamNotices notices(err);
  PreviewRun run;
  {
    TerminalProgress progress(err);
    run = RunPreview(source.connection->Connection(), *query, table, notices, progress.IfShown());
  }
  if (!run.message.empty()) {
    std::string message = run.message;
    if (!run.driverDiagnostic.empty()) message += "\n  " + run.driverDiagnostic;
    return Fail(err, message);
  }
  if (!run.result.executed) {
    std::string message = "the query could not be executed";
    if (!run.result.diagnostic.empty()) message += ": " + run.result.diagnostic;
    Fail(err, message);
  }
  PrintTable(TextTable{std::move(table.columns), std::move(table.rows)}, format, out);
  return run.result.executed ? kExitOk : kExitFailure;
}

}  // namespace tallowick::cli
