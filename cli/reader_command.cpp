#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/source_options.h"
#include "cli/terminal_text.h"
#include "engine/helper_file.h"
#include "platform/file_system.h"
#include "reader_code/c_identifier.h"
#include "reader_code/reader_files.h"
#include "reader_code/reader_layout.h"
#include "viewer/pdb_contents.h"

namespace tallowick::cli {

namespace {

constexpr const char* kReaderHelp =
    "usage: tallowick-cli reader HELPER.mhl [--lang c] [--prefix NAME] --out DIR\n"
    "\n"
    "Writes NAMERecord.h and NAMERecord.c into DIR: C code that unpacks a\n"
    "record of the PDB the Helper file describes into a struct with one member\n"
    "per field (NAMERecordUnpack), and the PDB's name, creator, type and field\n"
    "count as constants. NAME is --prefix (a letter, then letters, digits or\n"
    "_), else the PDB's name made into a C identifier.\n"
    "\n"
    "The code is C89 for the Palm OS SDK (it includes PalmOS.h); with\n"
    "TALLOWICK_DESKTOP defined it builds with a desktop C compiler as well.\n"
    "C is the only language (--lang c).\n"
    "\n"
    "Once they are written, says where, on one line:\n"
    "  reader DIR/NAMERecord.h, DIR/NAMERecord.c\n";

bool IsPrefix(const std::string& text) { return IsCIdentifier(text) && text[0] != '_'; }

}  // namespace

int WriteReader(const std::string& helperPath, const std::string& prefix, const std::string& folder,
                std::ostream& out, std::ostream& err) {
  const int fd = platform::OpenFile(helperPath, platform::OpenMode::Read);
  if (fd < 0) return Fail(err, TerminalText(helperPath) + ": " + std::strerror(errno));
  platform::CloseFile(fd);
  const auto helper = ReadHelperFile(helperPath);
  if (!helper) {
    return Fail(err, std::string(kInvalidHelperMessage) + " (" + TerminalText(helperPath) + ")");
  }
  std::string error;
  const auto layout = ReaderLayoutOf(*helper, prefix, error);
  if (!layout) return Fail(err, TerminalText(helperPath) + ": " + error);
  ReaderFiles files;
  if (!WriteReaderFiles(*layout, folder, files, error)) return Fail(err, TerminalText(error));
  out << "reader " << TerminalText(files.headerPath) << ", " << TerminalText(files.sourcePath)
      << '\n';
  return kExitOk;
}

int RunReader(const Words& args, std::ostream& out, std::ostream& err) {
  const Arguments arguments(args, {"--lang", "--prefix", "--out"}, {"--help"});
  if (arguments.Has("--help")) {
    out << kReaderHelp;
    return kExitOk;
  }
  if (arguments.Positionals().size() != 1) throw UsageError("reader needs HELPER.mhl");
  if (!arguments.Has("--out")) throw UsageError("reader needs --out");
  const std::string language = arguments.ValueOr("--lang", "c");
  if (language != "c") throw UsageError("unknown language \"" + language + "\" (c)");
  const std::string prefix = arguments.ValueOr("--prefix", "");
  if (arguments.Has("--prefix") && !IsPrefix(prefix)) {
    throw UsageError("--prefix must be a letter, then letters, digits or _");
  }
  return WriteReader(arguments.Positionals()[0], prefix, *arguments.Value("--out"), out, err);
}

}  // namespace tallowick::cli
