#pragma once
// The table and column catalogues of the connected source, and what the
// page shows when the user highlights tables.
#include <optional>
#include <string>
#include <vector>

#include "source/identifier_quoting.h"
#include "source/source_kind.h"

namespace tallowick {

class SourceConnection;

// "TABLE,VIEW,SYSTEM TABLE" for an Excel source, "TABLE" for every other.
const char* TableTypesFor(SourceKind kind);

// True when `tableType` (as the catalogue row has it) is one of the
// comma-separated `requestedTypes`, letter case and outer blanks ignored.
bool IsRequestedTableType(const std::string& requestedTypes, const std::string& tableType);

struct TableListing {
  bool ok = false;  // false: the catalogue could not be bound ("Unable To Get Table List")
  std::vector<std::string> names;  // catalogue order; the list box sorts
};

// SQLTables with the types of the source's kind. Rows of other types are
// dropped here, since MDB Tools ignores the filter. Closes the cursor.
TableListing ListTables(SourceConnection& connection);

// COLUMN_NAME of every SQLColumns row for the table, in catalogue order;
// nullopt when SQLColumns fails. Rows of another table that the name
// matched as a pattern (through '_' or '%') are dropped.
std::optional<std::vector<std::string>> ListColumns(SourceConnection& connection,
                                                    const std::string& table);

// One highlighted table and its columns (nullopt: the catalogue failed).
struct TableColumns {
  std::string name;
  std::optional<std::vector<std::string>> columns;
};

// What highlighting tables puts into the page.
struct TableSelection {
  std::optional<std::string> query;  // nullopt: nothing highlighted, the query box keeps its text
  std::vector<std::string> selectedFields;  // the Available list is emptied
  std::optional<std::string> pdbName;       // proposed when one table with columns is highlighted
};

// The composition of a table highlight: "SELECT   *   FROM  " and the
// tables' query forms joined by " , "; every column of every table in the
// Selected list (with "table." in front when several are highlighted).
TableSelection ComposeTableSelection(const std::vector<TableColumns>& tables,
                                     const QueryNaming& naming);

// Reads the columns of each highlighted table and composes the selection.
TableSelection SelectTables(SourceConnection& connection,
                            const std::vector<std::string>& highlightedTables);

}  // namespace tallowick
