#include "source/source_connection.h"

#include <optional>

#include "odbc/odbc_api.h"
#include "odbc/sqlite_driver.h"
#include "platform/driver_text.h"
#include "platform/file_system.h"
#include "source/data_source_config.h"
#include "source/driver_choice.h"
#include "source/odbc_diagnostic.h"
#include "source/odbc_result_source.h"
#include "source/source_kind.h"

namespace tallowick {

namespace {

constexpr SQLULEN kLoginTimeoutSeconds = 5;

ConnectOutcome Failure(std::string message) {
  return {ConnectOutcome::Status::Failed, std::move(message), {}};
}

bool PathExists(const std::string& path) {
  const platform::PathKind kind = platform::KindOf(path);
  return kind != platform::PathKind::Missing && kind != platform::PathKind::Unknown;
}

SQLCHAR* Text(const std::string& text) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

// A connection-string value in braces, so ';' and '=' stay inside it.
std::string BracedValue(const std::string& value) {
  std::string braced = "{";
  for (char c : value) {
    braced.push_back(c);
    if (c == '}') braced.push_back('}');
  }
  return braced + "}";
}

std::string UnknownKindMessage(const std::string& path) {
  return "Unsupported file type \"" + ExtensionOf(path) +
         "\": choose an Access (.mdb, .accdb), Excel (.xls, .xlsx, .xlsm), dBase (.dbf), "
         "SQLite (.db, .sqlite, .sqlite3) or CSV (.csv, .tsv, .txt) file";
}

}  // namespace

SourceConnection::SourceConnection(FileConverter* converter) : m_converter(converter) {}

SourceConnection::~SourceConnection() {
  Disconnect();
  // A failed attempt leaves nothing behind, but be certain on the way out.
  ReleaseHandles();
  RemoveTemporarySource();
}

ConnectOutcome SourceConnection::OpenFile(const std::string& chosenPath, CredentialPrompt& prompt,
                                          const AfterFirstConnect& afterFirstConnect) {
  // The entry and the converters get the full path, as a file dialog gives it.
  const std::string path = platform::AbsolutePath(chosenPath);
  const SourceKind kind = KindOfFile(path);
  if (kind == SourceKind::NoSource) return Failure(UnknownKindMessage(path));
  if (!PathExists(path)) return Failure("The file \"" + path + "\" does not exist");
  const std::string refusal = RefusalOfFile(path, kind);
  if (!refusal.empty()) return Failure(refusal);
  const DriverEntry entry = DriverOfKind(kind, path);
  if (entry.driver == nullptr) return Failure(MissingDriverMessage(kind, path));
  // The database goes into the data-source entry as it is, unless the file
  // is converted first.
  const std::string database = kind == SourceKind::DbaseFile ? FolderOf(path) : path;
  if (!entry.converted && !IsSafeIniValue(database)) return Failure(UnsafePathMessage(database));
  if (m_connected) Disconnect();
  m_sourceKind = kind;
  m_sourcePath = database;
  return ConnectFile(kind, prompt, afterFirstConnect);
}

ConnectOutcome SourceConnection::ConnectFile(SourceKind kind, CredentialPrompt& prompt,
                                             const AfterFirstConnect& afterFirstConnect) {
  if (m_connected) Disconnect();
  m_sourceKind = kind;
  m_connected = false;

  // A failure before any connection attempt still leaves the caller's views
  // as an attempt does: any earlier connection is gone.
  const auto failEarly = [&](std::string message) {
    RemoveTemporarySource();
    if (afterFirstConnect) afterFirstConnect();
    return Failure(std::move(message));
  };
  if (!IsFileKind(kind)) return failEarly("No ODBC driver serves this kind of source");
  const DriverEntry entry = DriverOfKind(kind, m_sourcePath);
  if (entry.driver == nullptr) return failEarly(MissingDriverMessage(kind, m_sourcePath));

  std::string database = entry.folderDatabase ? FolderOf(m_sourcePath) : m_sourcePath;
  std::vector<std::string> leftOut;
  if (entry.converted) {
    if (m_converter == nullptr) {
      return failEarly("Excel and dBase files cannot be read: no converter is available");
    }
    ConvertedDatabase converted =
        m_converter->Convert(kind == SourceKind::ExcelFile ? ConvertedFile::Workbook
                             : kind == SourceKind::CsvFile ? ConvertedFile::DelimitedText
                                                           : ConvertedFile::DbaseFolder,
                             m_sourcePath);
    if (converted.sqlitePath.empty()) {
      return failEarly(converted.error.empty()
                           ? "The file \"" + m_sourcePath + "\" could not be read"
                           : converted.error);
    }
    m_convertedDatabase = converted.sqlitePath;
    database = m_convertedDatabase;
    leftOut = std::move(converted.leftOut);
  }
  if (!IsSafeIniValue(database)) return failEarly(UnsafePathMessage(database));
  const std::string driverPath = platform::PathForDrivers(database);
  if (driverPath.empty()) return failEarly(UnspellablePathMessage(database));

  DataSourceAttributes options;
  if (entry.noCreate) options.emplace_back("NoCreat", "1");
  if (entry.sqlite && !platform::DriversUseUtf8())
    options.emplace_back(kSqliteCodePageKeyword, "1");
  DataSourceAttributes attributes = {{entry.databaseKeyword, database}};
  attributes.insert(attributes.end(), options.begin(), options.end());
  AddTemporarySource(entry.driver, attributes);
  std::string connectionString =
      std::string("DRIVER={") + entry.driver + "};" + entry.connectKeyword + "=" + driverPath;
  for (const auto& [key, value] : options) connectionString += ";" + key + "=" + value;
  ConnectOutcome outcome =
      ConnectTo({kTemporaryDataSourceName, connectionString}, prompt, afterFirstConnect);
  if (!outcome.Connected()) {
    ReleaseHandles();
    RemoveTemporarySource();
    return outcome;
  }
  m_naming = NamingFor(kind, m_hdbc.Get());
  m_connected = true;
  outcome.leftOut = std::move(leftOut);
  return outcome;
}

void SourceConnection::AddTemporarySource(const std::string& driver,
                                          const DataSourceAttributes& attributes) {
  // The result is not decisive: the connection names the driver and the
  // database itself.
  m_temporaryHold = platform::ScopedCleanup(
      [driver] { RemoveUserDataSource(kTemporaryDataSourceName, driver, true); });
  m_temporaryDriver = driver;
  AddUserDataSource(kTemporaryDataSourceName, driver, attributes);
}

ConnectOutcome SourceConnection::ConnectDataSource(const std::string& name,
                                                   CredentialPrompt& prompt,
                                                   const AfterFirstConnect& afterFirstConnect) {
  if (m_connected) Disconnect();
  m_sourceKind = SourceKind::ConfiguredSource;
  m_connected = false;
  ConnectOutcome outcome = ConnectTo({name, {}}, prompt, afterFirstConnect);
  if (!outcome.Connected()) {
    ReleaseHandles();
    return outcome;
  }
  m_naming = NamingFor(SourceKind::ConfiguredSource, m_hdbc.Get());
  m_connected = true;
  return outcome;
}

ConnectOutcome SourceConnection::ConnectTo(const Target& target, CredentialPrompt& prompt,
                                           const AfterFirstConnect& afterFirstConnect) {
  ReleaseHandles();
  m_lastResult = AllocateOdbc3Environment(m_henv);
  m_lastResult = m_hdbc.Allocate(m_henv.Get());
  m_lastResult = SQLSetConnectAttr(m_hdbc.Get(), SQL_ATTR_LOGIN_TIMEOUT,
                                   reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
  m_lastResult = Connect(target, nullptr);
  const bool connected = SQL_SUCCEEDED(m_lastResult);
  if (afterFirstConnect) afterFirstConnect();
  if (!connected) return AskAndRetry(target, prompt);
  AllocateCatalogueStatement();
  return {ConnectOutcome::Status::Connected, {}, {}};
}

SQLRETURN SourceConnection::Connect(const Target& target, const Credentials* credentials) {
  if (target.connectionString.empty()) {
    // A name or credentials the drivers' code page cannot spell exactly go
    // with '?' in place of those characters, and the driver refuses them.
    std::string name;
    std::string user;
    std::string password;
    platform::TextForDrivers(target.name, name);
    if (credentials != nullptr) {
      platform::TextForDrivers(credentials->userName, user);
      platform::TextForDrivers(credentials->password, password);
    }
    // Without credentials both are given as empty texts of length 0.
    const SQLSMALLINT length = credentials != nullptr ? SQL_NTS : 0;
    return SQLConnect(m_hdbc.Get(), Text(name), SQL_NTS, Text(user), length, Text(password),
                      length);
  }
  std::string utf8 = target.connectionString;
  if (credentials != nullptr) {
    utf8 +=
        ";UID=" + BracedValue(credentials->userName) + ";PWD=" + BracedValue(credentials->password);
  }
  std::string text;
  platform::TextForDrivers(utf8, text);
  return SQLDriverConnect(m_hdbc.Get(), nullptr, Text(text), SQL_NTS, nullptr, 0, nullptr,
                          SQL_DRIVER_NOPROMPT);
}

ConnectOutcome SourceConnection::AskAndRetry(const Target& target, CredentialPrompt& prompt) {
  if (!IsPasswordError(SQL_HANDLE_DBC, m_hdbc.Get())) return Failure(FormatOdbcError(m_hdbc.Get()));
  const std::optional<Credentials> credentials = prompt.Ask(target.name);
  if (!credentials) return {ConnectOutcome::Status::Cancelled, {}, {}};
  m_lastResult = Connect(target, &*credentials);
  if (!SQL_SUCCEEDED(m_lastResult)) return Failure(FormatOdbcError(m_hdbc.Get()));
  AllocateCatalogueStatement();
  return {ConnectOutcome::Status::Connected, {}, {}};
}

void SourceConnection::AllocateCatalogueStatement() {
  m_lastResult = m_hstmt.Allocate(m_hdbc.Get());
  if (!m_hstmt) return;
  m_lastResult = SetReadOnlyCursor(m_hstmt.Get());
}

SQLHSTMT SourceConnection::RenewCatalogueStatement() {
  if (!m_hdbc) return SQL_NULL_HSTMT;
  AllocateCatalogueStatement();
  return m_hstmt.Get();
}

void SourceConnection::Disconnect() {
  if (!m_connected) return;
  ReleaseHandles();
  RemoveTemporarySource();
  m_connected = false;
}

void SourceConnection::ReleaseHandles() {
  m_hstmt.Reset();
  m_hdbc.Reset();
  m_henv.Reset();
}

void SourceConnection::RemoveTemporarySource() {
  if (!m_temporaryDriver.empty()) {
    RemoveUserDataSource(kTemporaryDataSourceName, m_temporaryDriver);
    m_temporaryHold.Release();
    m_temporaryDriver.clear();
  }
  if (!m_convertedDatabase.empty()) {
    platform::RemoveFile(m_convertedDatabase);
    m_convertedDatabase.clear();
  }
}

}  // namespace tallowick
