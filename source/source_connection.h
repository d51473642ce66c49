#pragma once
// The connection to the source database that the generator page (or the
// command line) holds: the ODBC handles, the temporary data source of a
// file source, and the credential prompt.

#include <functional>
#include <string>
#include <vector>

#include "import/file_converter.h"
#include "odbc/odbc_api.h"
#include "odbc/odbc_handle.h"
#include "platform/exit_cleanup.h"
#include "source/credential_prompt.h"
#include "source/data_source_config.h"
#include "source/identifier_quoting.h"
#include "source/source_kind.h"

namespace tallowick {

struct ConnectOutcome {
  enum class Status {
    Connected,
    Failed,     // `message` says why ("ODBC Error ::..." or a refusal of ours)
    Cancelled,  // the user cancelled the credential prompt: no message
  };
  Status status = Status::Failed;
  std::string message;
  // When connected: parts of the source that were left out because they
  // could not be read, one message each naming the file.
  std::vector<std::string> leftOut;

  bool Connected() const { return status == Status::Connected; }
};

// Called right after the first connection attempt of every try, whatever
// its outcome (the page empties its views there), before any prompt.
using AfterFirstConnect = std::function<void()>;

class SourceConnection {
 public:
  // `converter` serves Excel and dBase files; without one they are refused.
  explicit SourceConnection(FileConverter* converter = nullptr);
  ~SourceConnection();
  SourceConnection(const SourceConnection&) = delete;
  SourceConnection& operator=(const SourceConnection&) = delete;

  // A file the user chose (a relative path counts from the working folder).
  // Refuses a file of no known kind, a missing file, a folder or an empty
  // file, a file that is not a database of its kind (by its first bytes),
  // a kind that no installed driver serves, and a path that cannot be
  // written into a data-source entry, before anything changes; otherwise
  // drops any held connection, sets the kind and the full source path (the
  // folder for dBase) and connects with ConnectFile.
  ConnectOutcome OpenFile(const std::string& path, CredentialPrompt& prompt,
                          const AfterFirstConnect& afterFirstConnect = {});

  // Adds the temporary data source for m_sourcePath with the driver chosen
  // for `kind` (driver_choice.h) and connects with the same attributes; an
  // Excel or dBase source without a Microsoft driver is first converted
  // into a SQLite database, which takes its place. After a failure nothing
  // of the attempt is left: no handles, no temporary data source, no
  // converted database.
  //
  // The connection names the driver and the database itself instead of the
  // data source: unixODBC keeps what it read of odbc.ini for 20 seconds, so
  // a connection to the re-added data source would load the driver of the
  // file chosen before (StaleDataSourceEntries).
  ConnectOutcome ConnectFile(SourceKind kind, CredentialPrompt& prompt,
                             const AfterFirstConnect& afterFirstConnect = {});

  // A configured data source chosen from the list (ConfiguredSource).
  ConnectOutcome ConnectDataSource(const std::string& name, CredentialPrompt& prompt,
                                   const AfterFirstConnect& afterFirstConnect = {});

  // Frees the handles and removes the temporary data source (and the
  // converted database) of a file source. Nothing when not connected.
  void Disconnect();

  // Frees the catalogue statement and allocates a fresh one with the same
  // attributes. MDB Tools answers a second catalogue request on a statement
  // that has served one with no rows, so every request starts fresh.
  SQLHSTMT RenewCatalogueStatement();

  SourceKind Kind() const { return m_sourceKind; }
  const std::string& SourcePath() const { return m_sourcePath; }
  bool Connected() const { return m_connected; }
  SQLHDBC Connection() const { return m_hdbc.Get(); }
  SQLHSTMT CatalogueStatement() const { return m_hstmt.Get(); }
  SQLRETURN LastResult() const { return m_lastResult; }
  const QueryNaming& Naming() const { return m_naming; }
  // The SQLite database converted from an Excel or dBase source; empty otherwise.
  const std::string& ConvertedDatabasePath() const { return m_convertedDatabase; }

 private:
  // Where a connection goes: a data source by name, or the attributes of
  // one as a connection string (then `name` only serves the prompt).
  struct Target {
    std::string name;
    std::string connectionString;
  };
  ConnectOutcome ConnectTo(const Target& target, CredentialPrompt& prompt,
                           const AfterFirstConnect& afterFirstConnect);
  SQLRETURN Connect(const Target& target, const Credentials* credentials);
  ConnectOutcome AskAndRetry(const Target& target, CredentialPrompt& prompt);
  void AllocateCatalogueStatement();
  void ReleaseHandles();
  // Enters the temporary data source for `driver` with `attributes`; its
  // removal is registered first.
  void AddTemporarySource(const std::string& driver, const DataSourceAttributes& attributes);
  void RemoveTemporarySource();

  SourceKind m_sourceKind = SourceKind::NoSource;
  EnvironmentHandle m_henv;
  ConnectionHandle m_hdbc;
  StatementHandle m_hstmt;
  SQLRETURN m_lastResult = SQL_SUCCESS;
  std::string m_sourcePath;
  bool m_connected = false;

  FileConverter* m_converter;
  std::string m_convertedDatabase;
  std::string m_temporaryDriver;  // set while the temporary data source exists
  // Drops this process's hold on the temporary data source when a signal
  // ends the process while it is held.
  platform::ScopedCleanup m_temporaryHold;
  QueryNaming m_naming;
};

}  // namespace tallowick
