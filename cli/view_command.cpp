#include <iostream>

#include "cli/arguments.h"
#include "cli/charset_option.h"
#include "cli/commands.h"
#include "cli/table_output.h"
#include "cli/terminal_text.h"
#include "engine/field_kind.h"
#include "viewer/display_text.h"
#include "viewer/pdb_contents.h"

namespace tallowick::cli {

namespace {

constexpr const char* kViewHelp =
    "usage: tallowick-cli view HELPER.mhl [PDB.pdb] [--format text|csv|json] [--charset SET]\n"
    "\n"
    "Shows every record of a PDB, field by field, as its Helper file describes\n"
    "them. Without PDB.pdb, opens the PDB that the Helper file names, in the\n"
    "Helper file's folder (a name that would lead out of it is refused).\n"
    "\n"
    "Texts are shown as UTF-8 when they are valid UTF-8, else as Windows-1252;\n"
    "--charset takes them as cp1252, shift-jis, gb2312, big5, euc-kr or utf-8.\n"
    "The text format shows control characters escaped: \\n, \\r, \\t, \\xHH, and\n"
    "\\uHHHH for U+0080 to U+009F; csv and json carry every text exactly.\n";

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
      out << JsonString(contents.rows[r][c]);
    }
    out << ']';
  }
  out << "]}\n";
}

// The folder and file name of the PDB to open: the second argument, or the
// PDB that the Helper file names, in the Helper file's folder. False (and a
// message on `err`) when the named PDB would lie outside that folder.
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
  // Files are named as the user typed the name (UTF-8); the Helper file
  // holds it in the handheld's encoding.
  const std::string name = DecodeHandheldText(helper.pdbName, textAs);
  if (!IsPlainFileName(name)) {
    err << "tallowick-cli: the Helper file names the PDB \"" << TerminalText(name)
        << "\", which is not a file of the Helper file's folder; give the PDB as the\n"
        << "second argument (" << TerminalText(helperPath) << ")\n";
    return false;
  }
  fileName = name + ".pdb";
  return true;
}

void PrintContents(PdbContents& contents, OutputFormat format, std::ostream& out) {
  if (format == OutputFormat::Json) {
    PrintJsonContents(contents, out);
    return;
  }
  TextTable table;
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
  const auto helper = ReadHelperFile(helperPath);
  if (!helper) {
    err << kInvalidHelperMessage << " (" << TerminalText(helperPath) << ")\n";
    return kExitFailure;
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
      err << kIncompatibleMessage << " (" << TerminalText(pdbPath) << ")\n";
      return kExitFailure;
    case PdbMatch::DecodingFailed:
      err << kUnableToViewMessage << " (" << TerminalText(pdbPath) << ")\n";
      return kExitFailure;
  }
  DecodeForDisplay(contents, textAs);
  PrintContents(contents, format, out);
  return kExitOk;
}

}  // namespace tallowick::cli
