// Measures a generation run against the bare cost of reading the same rows.
//
//   generation_bench [ROWS] [REPEATS]
//   generation_bench --large [MIB]
//
// Builds a SQLite table of ROWS (default 65,535) rows x 8 columns (integer,
// text, real, date, timestamp, small integer, text, real), then runs, each
// in a child process of its own so that peak memory is its own:
//   bare      - SQLFetch over the query with the 8 columns bound into
//               65,535-byte buffers, nothing else;
//   generate  - the whole generation: Helper file, records, PDB, logs.
// Prints the best wall time and the peak resident memory of each, and the
// ratios generate/bare. Uses a private ODBC configuration in a temp folder.
//
// With --large, generates one PDB of about MIB mebibytes (default 1024):
// rows of an integer and a 65,534-character text, made by the query from a
// one-row table, and prints the PDB's size, the run's peak resident memory
// and the bound it must stay within, 1.2 x the PDB's size + 64 MiB.
#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/column_info.h"
#include "engine/result_source.h"
#include "source/query_run.h"
#include "source/source_connection.h"

namespace {

using namespace tallowick;
namespace fs = std::filesystem;

constexpr const char* kQuery = "SELECT * FROM bench";
constexpr int kLargeText = 65534;

class QuietNotices : public NoticeSink {
 public:
  void Notice(const std::string&) override {}
};

class NoPrompt : public CredentialPrompt {
 public:
  std::optional<Credentials> Ask(const std::string&) override { return std::nullopt; }
};

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "generation_bench: %s\n", what);
    std::exit(2);
  }
}

void MakeDatabase(const std::string& path, long rows) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db) == SQLITE_OK, "cannot create the database");
  sqlite3_exec(db,
               "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
               "CREATE TABLE bench(id INTEGER, name VARCHAR(40), price REAL, day DATE,"
               " stamp TIMESTAMP, qty SMALLINT, note VARCHAR(80), weight DOUBLE);"
               "BEGIN;",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO bench VALUES(?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
  for (long r = 1; r <= rows; ++r) {
    char name[40];
    char day[16];
    char stamp[32];
    char note[80];
    std::snprintf(name, sizeof name, "Customer %ld", r);
    std::snprintf(day, sizeof day, "20%02ld-%02ld-%02ld", r % 30, r % 12 + 1, r % 28 + 1);
    std::snprintf(stamp, sizeof stamp, "%s %02ld:%02ld:%02ld", day, r % 24, r % 60, (r * 7) % 60);
    std::snprintf(note, sizeof note, "Order note number %ld, with some text in it", r);
    sqlite3_bind_int64(insert, 1, r);
    sqlite3_bind_text(insert, 2, name, -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 3, r * 1.25);
    sqlite3_bind_text(insert, 4, day, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 5, stamp, -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 6, static_cast<int>(r % 1000));
    sqlite3_bind_text(insert, 7, note, -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 8, r / 3.0);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// The whole cost of reading: bind like the generation binds, fetch, nothing more.
long BareLoop(SQLHDBC connection) {
  SQLHSTMT statement = SQL_NULL_HSTMT;
  SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement);
  Check(SQL_SUCCEEDED(SQLPrepare(statement, (SQLCHAR*)kQuery, SQL_NTS)), "prepare failed");
  Check(SQL_SUCCEEDED(SQLExecute(statement)), "execute failed");
  SQLSMALLINT columns = 0;
  SQLNumResultCols(statement, &columns);
  std::vector<std::vector<unsigned char>> buffers(columns);
  std::vector<SQLLEN> indicators(columns);
  for (SQLSMALLINT c = 0; c < columns; ++c) {
    SQLCHAR name[256];
    SQLSMALLINT nameLength = 0, sqlType = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    SQLDescribeCol(statement, c + 1, name, sizeof name, &nameLength, &sqlType, &size, &digits,
                   &nullable);
    buffers[c].resize(kValueBufferSize);
    const ColumnInfo info = MakeColumnInfo(c + 1, "", sqlType);
    SQLBindCol(statement, c + 1, info.bindType, buffers[c].data(), kValueBufferSize,
               &indicators[c]);
  }
  long rows = 0;
  while (SQL_SUCCEEDED(SQLFetch(statement))) ++rows;
  SQLFreeHandle(SQL_HANDLE_STMT, statement);
  return rows;
}

struct Measure {
  double seconds = 0;
  long peakKiB = 0;
};

// A one-row table holding a text of kLargeText characters.
void MakeLargeTextDatabase(const std::string& path) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.c_str(), &db) == SQLITE_OK, "cannot create the database");
  const std::string text(kLargeText, 'x');
  const std::string sql = "CREATE TABLE big(s VARCHAR(" + std::to_string(kLargeText) +
                          ")); INSERT INTO big VALUES('" + text + "');";
  Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK,
        "cannot fill the database");
  sqlite3_close(db);
}

// Runs `mode` in a child process; wall time measured there, peak memory here.
Measure RunChild(const std::string& database, const std::string& output, const char* mode,
                 const std::string& query = kQuery) {
  int pipeEnds[2];
  Check(pipe(pipeEnds) == 0, "pipe failed");
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    NoPrompt prompt;
    SourceConnection connection;
    Check(connection.OpenFile(database, prompt).Connected(), "cannot connect");
    const auto start = std::chrono::steady_clock::now();
    if (std::string(mode) == "bare") {
      BareLoop(connection.Connection());
    } else {
      QuietNotices notices;
      GenerationRequest request;
      request.outputFolder = output + "/";
      request.pdbName = "Bench";
      request.creator = "HWRP";
      request.type = "HWRP";
      const GenerationRun run = RunGeneration(connection.Connection(), query, request, notices);
      Check(run.generated == 1, "generation failed");
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Check(write(pipeEnds[1], &seconds, sizeof seconds) == sizeof seconds, "pipe write failed");
    _exit(0);
  }
  close(pipeEnds[1]);
  Measure measure;
  Check(read(pipeEnds[0], &measure.seconds, sizeof measure.seconds) == sizeof measure.seconds,
        "child failed");
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "child failed");
  measure.peakKiB = usage.ru_maxrss;
  return measure;
}

// One large PDB: its size against the peak memory of the run.
int RunLarge(const fs::path& folder, long mebibytes) {
  const std::string database = (folder / "big.db").string();
  MakeLargeTextDatabase(database);
  // Each record: a 4-byte integer and the text with its NUL; 8 bytes of
  // record list each.
  const long rows = static_cast<long>((static_cast<double>(mebibytes) * 1024 * 1024 - 81) /
                                      (4 + kLargeText + 1 + 8));
  const std::string query =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(rows) + ") SELECT n.i, big.s FROM n, big";
  const Measure measure = RunChild(database, (folder / "out").string(), "generate", query);
  const double size = static_cast<double>(fs::file_size(folder / "out" / "Bench.pdb"));
  const double peak = static_cast<double>(measure.peakKiB) * 1024;
  const double bound = 1.2 * size + 64.0 * 1024 * 1024;
  constexpr double kMiB = 1024.0 * 1024.0;
  std::printf("rows: %ld x (integer, %d characters), %.1f s\n", rows, kLargeText, measure.seconds);
  std::printf("PDB size   %10.1f MiB\n", size / kMiB);
  std::printf("peak RSS   %10.1f MiB\n", peak / kMiB);
  std::printf("bound      %10.1f MiB (1.2 x size + 64 MiB): %s\n", bound / kMiB,
              peak <= bound ? "within" : "EXCEEDED");
  return peak <= bound ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool large = argc > 1 && std::string(argv[1]) == "--large";
  const fs::path folder =
      fs::temp_directory_path() / ("tallowick-bench-" + std::to_string(getpid()));
  fs::create_directories(folder / "out");
  fs::copy_file("/etc/odbcinst.ini", folder / "odbcinst.ini");
  std::ofstream(folder / "odbc.ini").close();
  setenv("ODBCINI", (folder / "odbc.ini").c_str(), 1);
  setenv("ODBCSYSINI", folder.c_str(), 1);
  if (large) {
    const int status = RunLarge(folder, argc > 2 ? std::atol(argv[2]) : 1024);
    fs::remove_all(folder);
    return status;
  }
  const long rows = argc > 1 ? std::atol(argv[1]) : 65535;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;

  const std::string database = (folder / "bench.db").string();
  MakeDatabase(database, rows);

  Measure best[2];
  const char* modes[2] = {"bare", "generate"};
  for (int m = 0; m < 2; ++m) best[m].seconds = 1e9;
  for (int r = 0; r < repeats; ++r) {
    for (int m = 0; m < 2; ++m) {
      const Measure measure = RunChild(database, (folder / "out").string(), modes[m]);
      if (measure.seconds < best[m].seconds) best[m].seconds = measure.seconds;
      if (measure.peakKiB > best[m].peakKiB) best[m].peakKiB = measure.peakKiB;
    }
  }
  std::printf("rows: %ld, columns: 8, best of %d\n", rows, repeats);
  for (int m = 0; m < 2; ++m) {
    std::printf("%-9s %8.3f s  %8ld KiB peak\n", modes[m], best[m].seconds, best[m].peakKiB);
  }
  std::printf("ratio     %8.2f x  %8.2f x\n", best[1].seconds / best[0].seconds,
              static_cast<double>(best[1].peakKiB) / best[0].peakKiB);
  fs::remove_all(folder);
  return 0;
}
