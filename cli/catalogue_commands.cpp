#include <algorithm>
#include <iostream>

#include "cli/commands.h"
#include "cli/source_options.h"
#include "cli/terminal_text.h"
#include "source/catalogue.h"
#include "source/data_source_list.h"
#include "source/query_run.h"

namespace tallowick::cli {

namespace {

std::set<std::string> With(const std::set<std::string>& base,
                           std::initializer_list<const char*> more) {
  std::set<std::string> all = base;
  all.insert(more.begin(), more.end());
  return all;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

int RunSources(const Words& args, std::ostream& out, std::ostream&) {
  const Arguments arguments(args, {}, {"--help"});
  if (arguments.Has("--help")) {
    out << "usage: tallowick-cli sources\n\n"
           "Lists the configured ODBC data sources: the user's, then the system's.\n";
    return kExitOk;
  }
  if (!arguments.Positionals().empty()) throw UsageError("sources takes no arguments");
  for (const auto& name : ListDataSourceNames()) out << TerminalText(name) << '\n';
  return kExitOk;
}

int RunTables(const Words& args, std::ostream& out, std::ostream& err) {
  const Arguments arguments(args, SourceValuedOptions(), SourceFlagOptions());
  if (arguments.Has("--help")) {
    out << "usage: tallowick-cli tables SOURCE\n\nLists the tables of a source.\n\n" << kSourceHelp;
    return kExitOk;
  }
  if (!arguments.Positionals().empty()) throw UsageError("tables takes no positional arguments");
  OpenedSource source = OpenSource(arguments, err);
  if (!source.error.empty()) return Fail(err, source.error);
  TableListing listing = ListTables(*source.connection);
  if (!listing.ok) return Fail(err, kTableListFailedMessage);
  std::sort(listing.names.begin(), listing.names.end(), LessIgnoringCase);
  for (const auto& name : listing.names) out << TerminalText(name) << '\n';
  return kExitOk;
}

int RunColumns(const Words& args, std::ostream& out, std::ostream& err) {
  const Arguments arguments(args, With(SourceValuedOptions(), {"--table"}), SourceFlagOptions());
  if (arguments.Has("--help")) {
    out << "usage: tallowick-cli columns SOURCE --table NAME\n\n"
           "Lists the columns of a table, in the catalogue's order.\n\n"
        << kSourceHelp;
    return kExitOk;
  }
  const auto table = arguments.Value("--table");
  if (!table) throw UsageError("columns needs --table NAME");
  if (!arguments.Positionals().empty()) throw UsageError("columns takes no positional arguments");
  OpenedSource source = OpenSource(arguments, err);
  if (!source.error.empty()) return Fail(err, source.error);
  const auto columns = ListColumns(*source.connection, *table);
  if (!columns) {
    return Fail(err, "the columns of table \"" + TerminalText(*table) + "\" could not be read");
  }
  if (columns->empty()) {
    // The catalogue answers an unknown name with no columns; the table list
    // tells the two apart (a view has columns though it is not listed).
    const TableListing listing = ListTables(*source.connection);
    if (!listing.ok) return Fail(err, kTableListFailedMessage);
    if (std::find(listing.names.begin(), listing.names.end(), *table) == listing.names.end()) {
      return Fail(err, "there is no table \"" + TerminalText(*table) + "\" in this source");
    }
  }
  for (const auto& name : *columns) out << TerminalText(name) << '\n';
  return kExitOk;
}

}  // namespace tallowick::cli
