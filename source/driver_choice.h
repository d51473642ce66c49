#pragma once
// The ODBC driver that serves each kind of file: the first installed one of
// the kind's list of names for this system. Excel and dBase files without
// a Microsoft driver of their own, and CSV files, are converted into a
// SQLite database that the SQLite driver serves.
#include <string>
#include <vector>

#include "source/source_kind.h"

namespace tallowick {

// Whose driver names a list holds.
enum class DriverSystem { Linux, Windows };
#ifdef _WIN32
inline constexpr DriverSystem kThisDriverSystem = DriverSystem::Windows;
#else
inline constexpr DriverSystem kThisDriverSystem = DriverSystem::Linux;
#endif

// The chosen driver of a file kind and how it is given its database.
struct DriverEntry {
  const char* driver = nullptr;           // null: none of the kind's drivers is installed
  const char* databaseKeyword = nullptr;  // in the data-source entry
  const char* connectKeyword = nullptr;   // in the connection string
  bool noCreate = false;        // add NoCreat=1: a missing file is an error, not a new database
  bool sqlite = false;          // the SQLite driver, with its own text option
  bool converted = false;       // a file read through our converters
  bool folderDatabase = false;  // the database is the file's folder (the text driver's tables)
};

// The driver of a file of `kind` at `path` among the `installed` driver
// names, from the lists of `system`. An entry without a driver for a kind
// that is not a file or whose drivers are all missing. The path counts for
// workbooks only: the Jet Excel driver reads .xls, not .xlsx or .xlsm.
DriverEntry ChooseDriver(SourceKind kind, const std::string& path,
                         const std::vector<std::string>& installed,
                         DriverSystem system = kThisDriverSystem);

// ChooseDriver with the drivers installed on this machine.
DriverEntry DriverOfKind(SourceKind kind, const std::string& path);

// One sentence for a file of `kind` at `path` that no installed driver
// serves, naming what to install on `system`.
std::string MissingDriverMessage(SourceKind kind, const std::string& path,
                                 DriverSystem system = kThisDriverSystem);

}  // namespace tallowick
