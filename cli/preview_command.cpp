#include <iostream>

#include "cli/commands.h"
#include "cli/source_options.h"
#include "cli/table_output.h"
#include "cli/terminal_sinks.h"
#include "source/query_run.h"

namespace tallowick::cli {

namespace {

// The preview's texts, and what each of them stands for.
class PreviewWithForms : public PreviewTable {
 public:
  void RowForms(const std::vector<PreviewValueForm>& rowForms) override {
    forms.push_back(rowForms);
  }
  std::vector<std::vector<PreviewValueForm>> forms;
};

}  // namespace

int RunPreview(const Words& args, std::ostream& out, std::ostream& err) {
  std::set<std::string> valued = SourceValuedOptions();
  valued.insert({"--query", "--format"});
  const Arguments arguments(args, valued, SourceFlagOptions());
  if (arguments.Has("--help")) {
    out << "usage: tallowick-cli preview SOURCE --query SQL [--format text|csv|json]\n\n"
           "Shows the rows of a SELECT query as the generator page previews them\n"
           "(at most 65,535 rows). When the query fails to execute or while its rows\n"
           "are read, the headings and the rows read so far are shown, the driver's\n"
           "word goes to standard error and the status is 1. The text format shows\n"
           "control characters escaped (\\n, \\r, \\t, \\xHH, \\uHHHH for U+0080 to\n"
           "U+009F) and aligns the columns by their width on the terminal; csv and\n"
           "json carry every text exactly. json gives {\"columns\":[...],\n"
           "\"records\":[[...],...]}, numbers as numbers and NULL as null.\n\n"
        << kSourceHelp;
    return kExitOk;
  }
  const auto query = arguments.Value("--query");
  if (!query) throw UsageError("preview needs --query SQL");
  if (!arguments.Positionals().empty()) throw UsageError("preview takes no positional arguments");
  const OutputFormat format = ParseOutputFormat(arguments.ValueOr("--format", "text"));

  OpenedSource source = OpenSource(arguments, err);
  if (!source.error.empty()) return Fail(err, source.error);

  PreviewWithForms table;
  PreviewRun run;
  {
    TerminalProgress progress(err);
    StreamNotices notices(err, progress);
    run = RunPreview(source.connection->Connection(), *query, table, notices, progress.IfShown());
  }
  if (!run.message.empty()) {
    std::string message = run.message;
    if (!run.driverDiagnostic.empty()) message += "\n  " + run.driverDiagnostic;
    return Fail(err, message);
  }
  if (run.failed) {
    // The headings, and the rows read before a fetch failed, are still shown.
    std::string message = PreviewFailedMessage(run);
    if (!run.driverDiagnostic.empty()) message += "\n  " + run.driverDiagnostic;
    Tell(err, message);
  }
  PrintTable(TextTable{std::move(table.columns), std::move(table.rows), std::move(table.forms)},
             format, out);
  return run.failed ? kExitFailure : kExitOk;
}

}  // namespace tallowick::cli
