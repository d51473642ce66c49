#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"

namespace tallowick::cli {

namespace {

constexpr const char* kUsage =
    "usage: tallowick-cli COMMAND [ARGS]\n"
    "\n"
    "Turns the result of a SQL query on a desktop database into a Palm OS\n"
    "record database (PDB) with its Helper file and logs, and shows PDBs.\n"
    "\n"
    "commands:\n"
    "  sources                              configured data sources (user, then system)\n"
    "  tables SOURCE                        tables of a source\n"
    "  columns SOURCE --table NAME          columns of a table\n"
    "  preview SOURCE --query SQL           rows of a query [--format text|csv|json]\n"
    "  generate SOURCE --query SQL --name NAME --out DIR\n"
    "           [--creator XXXX] [--type XXXX] [--charset SET] [--reader DIR]\n"
    "                                       write NAME.pdb, its Helper file and the logs\n"
    "  view HELPER.mhl [PDB.pdb]            records of a PDB\n"
    "           [--format text|csv|json] [--charset SET]\n"
    "  reader HELPER.mhl --out DIR          C code that reads the PDB's records\n"
    "           [--lang c] [--prefix NAME]\n"
    "\n"
    "SOURCE is --file PATH (.mdb/.accdb, .xls/.xlsx/.xlsm, .dbf, .db/.sqlite/.sqlite3,\n"
    "       .csv/.tsv/.txt [--delimiter CHAR] [--encoding NAME])\n"
    "       or --dsn NAME [--user NAME] [--password-stdin]\n"
    "\n"
    "The text format and standard error show control characters escaped:\n"
    "\\n, \\r, \\t, \\xHH (other C0, DEL, stray bytes 0x80-0x9F) and \\uHHHH\n"
    "(U+0080-U+009F). csv carries every text exactly; json too, with numbers\n"
    "as numbers and NULL as null.\n"
    "\n"
    "Exit status: 0 done, 1 failed (the reason on standard error), 2 usage\n"
    "error, 128 + n ended by signal n (130 Ctrl-C, 141 reader of the output gone).\n"
    "\n"
    "Run tallowick-cli COMMAND --help (or -h) for the details of a command;\n"
    "tallowick-cli --version (or -V) prints the version.\n";

}  // namespace

int RunCommandLine(const Words& words, std::ostream& out, std::ostream& err) {
  if (words.empty()) {
    err << "tallowick-cli: no command given\n\n" << kUsage;
    return kExitUsage;
  }
  const std::string& command = words[0];
  const Words rest(words.begin() + 1, words.end());
  try {
    if (command == "--help" || command == "-h" || command == "help") {
      out << kUsage;
      return kExitOk;
    }
    if (command == "--version" || command == "-V") {
      out << "tallowick-cli " << TALLOWICK_VERSION << '\n';
      return kExitOk;
    }
    if (command == "sources") return RunSources(rest, out, err);
    if (command == "tables") return RunTables(rest, out, err);
    if (command == "columns") return RunColumns(rest, out, err);
    if (command == "preview") return RunPreview(rest, out, err);
    if (command == "generate") return RunGenerate(rest, out, err);
    if (command == "view") return RunView(rest, out, err);
    if (command == "reader") return RunReader(rest, out, err);
    err << "tallowick-cli: unknown command \"" << TerminalText(command) << "\"\n\n" << kUsage;
    return kExitUsage;
  } catch (const UsageError& error) {
    err << "tallowick-cli: " << TerminalText(command) << ": " << TerminalText(error.what())
        << "\n(try tallowick-cli " << TerminalText(command) << " --help)\n";
    return kExitUsage;
  }
}

}  // namespace tallowick::cli
