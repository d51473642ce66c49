#pragma once
// SOURCE on the command line: --file PATH, or --dsn NAME [--user NAME]
// [--password-stdin]; and the connection made from it.
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "cli/arguments.h"
#include "import/file_converter.h"
#include "source/credential_prompt.h"
#include "source/source_connection.h"

namespace tallowick::cli {

// The options every command that reads a source accepts.
const std::set<std::string>& SourceValuedOptions();
const std::set<std::string>& SourceFlagOptions();
// The SOURCE paragraph of a command's help.
extern const char* const kSourceHelp;

// Answers the driver's request for credentials: with --user and a password
// read from stdin (--password-stdin) when given, else by asking once on the
// terminal without echo; without a terminal it cannot answer.
class TerminalPrompt : public CredentialPrompt {
 public:
  TerminalPrompt(std::optional<std::string> userName, std::optional<std::string> password);
  std::optional<Credentials> Ask(const std::string& dataSourceName) override;

 private:
  std::optional<std::string> m_userName;
  std::optional<std::string> m_password;
};

// A connected source, or the reason it is not.
struct OpenedSource {
  std::unique_ptr<FileConverter> converter;
  std::unique_ptr<SourceConnection> connection;
  std::string error;  // empty when connected
};

// Throws UsageError when neither or both of --file and --dsn are given.
// Tables of the source that could not be read and were left out are named
// on `err`, one line each; the command goes on with the others.
OpenedSource OpenSource(const Arguments& arguments, std::ostream& err);

// Writes "tallowick-cli: <message>", control characters escaped but for
// its line breaks (TerminalMessage).
void Tell(std::ostream& err, const std::string& message);
// The same, returning kExitFailure.
int Fail(std::ostream& err, const std::string& message);

}  // namespace tallowick::cli
