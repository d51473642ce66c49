#include <iostream>

#include "cli/charset_option.h"
#include "cli/commands.h"
#include "cli/source_options.h"
#include "cli/terminal_sinks.h"
#include "cli/terminal_text.h"
#include "engine/generation_log.h"
#include "engine/handheld_charset.h"
#include "engine/helper_file.h"
#include "platform/file_system.h"
#include "source/generation_checks.h"
#include "source/query_run.h"

namespace tallowick::cli {

namespace {

constexpr const char* kGenerateHelp =
    "usage: tallowick-cli generate SOURCE --query SQL --name NAME --out DIR\n"
    "                              [--creator XXXX] [--type XXXX] [--charset SET]\n"
    "                              [--reader DIR]\n\n"
    "Writes NAME.pdb (one record per result row), its Helper file and the logs\n"
    "TallowickLog.txt and TallowickProcess.log into DIR. Creator and type are\n"
    "four printable ASCII characters each (default HWRP).\n\n"
    "Text goes to the handheld in its own encoding, SET: cp1252 (Western, the\n"
    "default), shift-jis, gb2312, big5, euc-kr, or utf-8 (no conversion). A\n"
    "character the set cannot hold is stored as \"?\" and counted in the\n"
    "process log.\n\n"
    "Once they are written, says where, on one line:\n"
    "  PDB DIR/NAME.pdb, Helper file DIR/NAMEHelper.mhl, log DIR/TallowickLog.txt\n\n"
    "--reader DIR also writes the C code that reads the records into DIR, an\n"
    "existing folder, as `tallowick-cli reader` does, and says where on a\n"
    "second line.\n\n";

// The run's inputs as the generator page holds them.
GenerationInputs InputsOf(const Arguments& arguments) {
  for (const char* required : {"--query", "--name", "--out"}) {
    if (!arguments.Has(required)) {
      throw UsageError(std::string("generate needs ") + required);
    }
  }
  if (!arguments.Positionals().empty()) throw UsageError("generate takes no positional arguments");
  GenerationInputs inputs;
  inputs.query = *arguments.Value("--query");
  inputs.pdbName = *arguments.Value("--name");
  inputs.creator = arguments.ValueOr("--creator", "HWRP");
  inputs.type = arguments.ValueOr("--type", "HWRP");
  inputs.outputFolder = *arguments.Value("--out");
  inputs.charset = CharsetOption(arguments).value_or(HandheldCharset::Western);
  return inputs;
}

}  // namespace

int RunGenerate(const Words& args, std::ostream& out, std::ostream& err) {
  std::set<std::string> valued = SourceValuedOptions();
  valued.insert({"--query", "--name", "--creator", "--type", "--out", "--charset", "--reader"});
  const Arguments arguments(args, valued, SourceFlagOptions());
  if (arguments.Has("--help")) {
    out << kGenerateHelp << kSourceHelp;
    return kExitOk;
  }
  const GenerationInputs inputs = InputsOf(arguments);
  // The same checks, in the same order, as the generator page; the folder
  // check comes before connecting, so a typo costs no connection.
  const GenerationCheck check = CheckGenerationInputs(inputs);
  if (!check.Passed()) return Fail(err, check.message);
  const std::optional<std::string> readerFolder = arguments.Value("--reader");
  if (readerFolder && platform::KindOf(*readerFolder) != platform::PathKind::Folder) {
    return Fail(err, TerminalText(*readerFolder) + ": no such folder");
  }

  OpenedSource source = OpenSource(arguments, err);
  if (!source.error.empty()) return Fail(err, source.error);

  const GenerationRequest request = RequestFor(inputs, check);
  GenerationRun run;
  {
    TerminalProgress progress(err);
    StreamNotices notices(err, progress);
    run = RunGeneration(source.connection->Connection(), inputs.query, request, notices,
                        progress.IfShown());
  }
  if (!run.message.empty()) {
    std::string message = run.message;
    if (!run.driverDiagnostic.empty()) message += "\n  " + run.driverDiagnostic;
    return Fail(err, message);
  }
  if (run.generated != 1) {
    // Named as a file, "prog: file: message": several runs may share one stderr.
    return Fail(err, TerminalText(inputs.pdbName) + ".pdb: " + GenerationFailedMessage(run.result));
  }
  const std::string& folder = check.outputFolder;
  out << "PDB " << TerminalText(folder + inputs.pdbName + ".pdb") << ", Helper file "
      << TerminalText(HelperFilePath(folder, inputs.pdbName)) << ", log "
      << TerminalText(folder + kLogFileName) << '\n';
  if (readerFolder) {
    return WriteReader(HelperFilePath(folder, inputs.pdbName), "", *readerFolder, out, err);
  }
  return kExitOk;
}

}  // namespace tallowick::cli
