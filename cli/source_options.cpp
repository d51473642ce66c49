#include "cli/source_options.h"

#include <iostream>

#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "import/delimited_text_options.h"
#include "import/import_file_converter.h"
#include "platform/exit_cleanup.h"
#include "platform/terminal.h"

namespace tallowick::cli {

const std::set<std::string>& SourceValuedOptions() {
  static const std::set<std::string> options{"--file", "--dsn", "--user", "--delimiter",
                                             "--encoding"};
  return options;
}

const std::set<std::string>& SourceFlagOptions() {
  static const std::set<std::string> options{"--password-stdin", "--help"};
  return options;
}

const char* const kSourceHelp =
    "SOURCE is one of:\n"
    "  --file PATH        an Access (.mdb, .accdb), Excel (.xls, .xlsx, .xlsm), dBase\n"
    "                     (.dbf), SQLite (.db, .sqlite, .sqlite3) or CSV (.csv, .tsv,\n"
    "                     .txt) file; a .dbf file stands for every .dbf table of its\n"
    "                     folder (one that cannot be read is left out and named on\n"
    "                     standard error)\n"
    "  --delimiter CHAR   a CSV file's delimiter: a character, tab, comma or\n"
    "                     semicolon (default: the one of , ; tab its header line holds)\n"
    "  --encoding NAME    a CSV file's encoding: utf-8, windows-1252, cp850, ...\n"
    "                     (default: UTF-8 when the file is valid UTF-8, else\n"
    "                     Windows-1252)\n"
    "  --dsn NAME         a configured ODBC data source\n"
    "  --user NAME        user name for the data source\n"
    "  --password-stdin   read the password from the first line of standard input\n"
    "When the driver asks for a password and none was given, tallowick-cli asks\n"
    "once on the terminal (without echo).\n";

TerminalPrompt::TerminalPrompt(std::optional<std::string> userName,
                               std::optional<std::string> password)
    : m_userName(std::move(userName)), m_password(std::move(password)) {}

namespace {

std::string ReadLineWithoutEcho() {
  std::string line;
  {
    const platform::EchoOff quiet;
    std::getline(std::cin, line);
  }
  // The typed line break was not echoed either.
  if (platform::IsTerminal(platform::StandardStream::Input)) std::cerr << '\n';
  return line;
}

}  // namespace

std::optional<Credentials> TerminalPrompt::Ask(const std::string& dataSourceName) {
  if (m_password) return Credentials{m_userName.value_or(""), *m_password};
  if (!platform::IsTerminal(platform::StandardStream::Input) ||
      !platform::IsTerminal(platform::StandardStream::Error)) {
    return std::nullopt;
  }
  Credentials credentials;
  std::cerr << "Data source \"" << TerminalText(dataSourceName)
            << "\" asks for a user name and password.\n";
  if (m_userName) {
    credentials.userName = *m_userName;
  } else {
    std::cerr << "User Name: " << std::flush;
    std::getline(std::cin, credentials.userName);
  }
  std::cerr << "Password: " << std::flush;
  credentials.password = ReadLineWithoutEcho();
  return credentials;
}

OpenedSource OpenSource(const Arguments& arguments, std::ostream& err) {
  const auto file = arguments.Value("--file");
  const auto dsn = arguments.Value("--dsn");
  if (file.has_value() == dsn.has_value()) {
    throw UsageError("give the source as --file PATH or as --dsn NAME");
  }
  if (file && (arguments.Has("--user") || arguments.Has("--password-stdin"))) {
    throw UsageError("--user and --password-stdin go with --dsn");
  }
  DelimitedTextOptions text;
  if (const auto delimiter = arguments.Value("--delimiter")) {
    if (!file) throw UsageError("--delimiter goes with --file");
    if (!ParseDelimiterName(*delimiter, text.delimiter)) {
      throw UsageError("--delimiter takes one character, tab, comma or semicolon, not \"" +
                       *delimiter + "\"");
    }
  }
  if (const auto encoding = arguments.Value("--encoding")) {
    if (!file) throw UsageError("--encoding goes with --file");
    if (!ParseEncodingName(*encoding, text.codePage)) {
      throw UsageError("--encoding names no encoding this system knows: \"" + *encoding + "\"");
    }
  }
  std::optional<std::string> password;
  if (arguments.Has("--password-stdin")) {
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    password = line;
  }

  OpenedSource opened;
  opened.converter = std::make_unique<ImportFileConverter>(text);
  opened.connection = std::make_unique<SourceConnection>(opened.converter.get());
  TerminalPrompt prompt(arguments.Value("--user"), password);
  const ConnectOutcome outcome = file ? opened.connection->OpenFile(*file, prompt)
                                      : opened.connection->ConnectDataSource(*dsn, prompt);
  switch (outcome.status) {
    case ConnectOutcome::Status::Connected:
      for (const std::string& line : outcome.leftOut) Tell(err, line);
      break;
    case ConnectOutcome::Status::Cancelled:
      opened.error = "no user name and password were given for \"" + file.value_or(*dsn) + "\"";
      break;
    case ConnectOutcome::Status::Failed:
      opened.error = outcome.message;
      break;
  }
  return opened;
}

void Tell(std::ostream& err, const std::string& message) {
  err << "tallowick-cli: " << TerminalMessage(message) << '\n';
}

int Fail(std::ostream& err, const std::string& message) {
  Tell(err, message);
  return kExitFailure;
}

}  // namespace tallowick::cli
