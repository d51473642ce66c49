
#include <cerrno>
#include <cstring>
#include <iostream>

#include "cli/arguments.h"
#include "cli/charset_option.h"
#include "cli/commands.h"
#include "cli/source_options.h"
#include "cli/table_output.h"
#include "cli/terminal_text.h"
#include "engine/field_kind.h"
#include "platform/file_system.h"
#include "viewer/display_text.h"
#include "viewer/pdb_contents.h"
#include "viewer/pdb_search.h"

namespace tallowick::cli {

namespace {

constexpr const char* kViewHelp =
    "usage: tallowick-cli view HELPER.mhl [PDB.pdb] [--format text|csv|json] [--charset SET]\n"
    "\n"
    "Shows every record of a PDB, field by field, as its Helper file describes\n"
    "them. Without PDB.pdb, opens the PDB of the Helper file's folder whose\n"
    "header carries the name, creator and type the Helper file names, whatever\n"
    "the file is called (NAME.pdb is tried first); when several do, give the\n"
    "one to show as PDB.pdb.\n"
    "\n"
    "Texts are shown as UTF-8 when they are valid UTF-8, else as Windows-1252;\n"
    "--charset takes them as cp1252, shift-jis, gb2312, big5, euc-kr or utf-8.\n"
    "The text format shows control characters escaped: \\n, \\r, \\t, \\xHH, and\n"
    "\\uHHHH for U+0080 to U+009F; csv and json carry every text exactly, json\n"
    "with numbers as numbers.\n";

// "" when `path` can be opened for reading, else why not, as the system says it.
std::string UnreadableReason(const std::string& path) {
  const int fd = platform::OpenFile(path, platform::OpenMode::Read);
  if (fd < 0) return std::strerror(errno);
  platform::CloseFile(fd);
  return {};
}

PreviewValueForm FormOfKind(std::uint8_t kind) {
  switch (static_cast<FieldKind>(kind)) {
    case FieldKind::Double:
    case FieldKind::Float:
    case FieldKind::Long:
    case FieldKind::Short:
      return PreviewValueForm::Number;
    default:
      return PreviewValueForm::Text;
  }
}

void PrintJsonContents(const PdbContents& contents, std::ostream& out) {
  out << "{\"name\":" << JsonString(contents.name)
      << ",\"creator\":" << JsonString(contents.creator)
      << ",\"type\":" << JsonString(contents.type) << ",\"fields\":[";
  for (std::size_t f = 0; f < contents.fields.size(); ++f) {
    if (f) out << ',';
    out << "{\"name\":" << JsonString(contents.fields[f].name)
        << ",\"kind\":" << JsonString(std::string(FieldKindName(contents.fields[f].kind))) << '}';
  }
  out << "],\"records\":[";
  for (std::size_t r = 0; r < contents.rows.size() && out; ++r) {
    out << (r ? ",\n[" : "\n[");
    for (std::size_t c = 0; c < contents.rows[r].size(); ++c) {
      if (c) out << ',';
      const PreviewValueForm form =
          c < contents.fields.size() ? FormOfKind(contents.fields[c].kind) : PreviewValueForm::Text;
      out << JsonValue(contents.rows[r][c], form);
    }
    out << ']';
  }
  out << "]}\n";
}

// The folder and file name of the PDB to open: the second argument, or the
// PDB of the Helper file's folder whose header matches the Helper file: the
// file the Helper file names first (as the user typed the name: UTF-8),
// else the only other one. False (and a message on `err`) when there is
// none, or more than one.
bool FindPdb(const Words& positionals, const HelperInfo& helper,
             std::optional<HandheldCharset> textAs, std::string& folder, std::string& fileName,
             std::ostream& err) {
  if (positionals.size() == 2) {
    SplitPath(positionals[1], folder, fileName);
    return true;
  }
  const std::string& helperPath = positionals[0];
  std::string helperFile;
  SplitPath(helperPath, folder, helperFile);
  const std::string name = DecodeHandheldText(helper.pdbName, textAs);
  const bool plainName = IsPlainFileName(name);
  if (plainName && PdbFileMatchesHelper(folder, name + ".pdb", helper)) {
    fileName = name + ".pdb";
    return true;
  }
  const std::vector<std::string> found = FindPdbsForHelper(folder, helper);
  if (found.size() == 1) {
    fileName = found.front();
    return true;
  }
  const std::string shownFolder = folder.empty() ? "." : TerminalText(folder);
  if (found.size() > 1) {
    err << "tallowick-cli: several PDBs in " << shownFolder
        << " carry the name, creator and type of " << TerminalText(helperPath) << ":";
    for (const auto& candidate : found) err << ' ' << TerminalText(candidate);
    err << "\ngive the one to show as the second argument\n";
  } else if (!plainName) {
    err << "tallowick-cli: the Helper file names the PDB \"" << TerminalText(name)
        << "\", which is not a file of the Helper file's folder; give the PDB as the\n"
        << "second argument (" << TerminalText(helperPath) << ")\n";
  } else {
    err << "tallowick-cli: no PDB in " << shownFolder << " carries the name \""
        << TerminalText(name) << "\", creator and type of " << TerminalText(helperPath)
        << "; give the PDB as the second argument\n";
  }
  return false;
}

void PrintContents(PdbContents& contents, OutputFormat format, std::ostream& out) {
  if (format == OutputFormat::Json) {
    PrintJsonContents(contents, out);
    return;
  }
  TextTable table{};
  for (const auto& field : contents.fields) table.headers.push_back(field.name);
  table.rows = std::move(contents.rows);
  if (format == OutputFormat::Text) {
    out << "Name          : " << TerminalText(contents.name) << '\n'
        << "Creator       : " << TerminalText(contents.creator) << '\n'
        << "Type          : " << TerminalText(contents.type) << '\n'
        << "Total Records : " << contents.recordCount << '\n'
        << "Total Fields  : " << contents.fields.size() << "\n\n";
  }
  PrintTable(table, format, out);
}

}  // namespace

int RunView(const Words& args, std::ostream& out, std::ostream& err) {
  const Arguments arguments(args, {"--format", "--charset"}, {"--help"});
  if (arguments.Has("--help")) {
    out << kViewHelp;
    return kExitOk;
  }
  const auto& positionals = arguments.Positionals();
  if (positionals.empty() || positionals.size() > 2)
    throw UsageError("view needs HELPER.mhl [PDB.pdb]");
  const OutputFormat format = ParseOutputFormat(arguments.ValueOr("--format", "text"));
  const std::optional<HandheldCharset> textAs = CharsetOption(arguments);

  const std::string& helperPath = positionals[0];
  for (const std::string& path : positionals) {
    const std::string reason = UnreadableReason(path);
    if (!reason.empty()) return Fail(err, TerminalText(path) + ": " + reason);
  }
  const auto helper = ReadHelperFile(helperPath);
  if (!helper) {
    return Fail(err, std::string(kInvalidHelperMessage) + " (" + TerminalText(helperPath) + ")");
  }
  std::string folder;
  std::string fileName;
  if (!FindPdb(positionals, *helper, textAs, folder, fileName, err)) return kExitFailure;
  const std::string pdbPath = folder + fileName;

  PdbContents contents;
  switch (LoadPdbContents(*helper, helperPath, DatabaseNameOf(fileName), folder, contents)) {
    case PdbMatch::Decoded:
      break;
    case PdbMatch::Incompatible:
      return Fail(err, std::string(kIncompatibleMessage) + " (" + TerminalText(pdbPath) + ")");
    case PdbMatch::DecodingFailed:
      return Fail(err, std::string(kUnableToViewMessage) + " (" + TerminalText(pdbPath) + ")");
  }
  DecodeForDisplay(contents, textAs);
  PrintContents(contents, format, out);
  return kExitOk;
}

}  // namespace tallowick::cli
