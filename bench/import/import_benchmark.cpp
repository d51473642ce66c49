// How long an Excel workbook and a dBase table take to become queryable.
// The benchmark makes its own inputs: a 65,535-row x 10-column workbook
// (through make_large_workbook.py and python3-xlwt) and a 1,000,000-row x
// 8-field dBase III table (written here). It then converts each several
// times and reports, per run, the conversion time and the time until the
// first query on the converted database has answered.
//
// usage: tallowick-import-bench [--xls-rows N] [--dbf-rows N] [--runs N]
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "import/source_import.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void PutLE(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

// A dBase III table of `rows` records and eight fields, code page 1252.
bool WriteDbf(const std::string& path, std::uint32_t rows) {
  struct Field {
    const char* name;
    char type;
    int length;
    int decimals;
  };
  const Field fields[] = {{"ID", 'N', 9, 0},     {"NAME", 'C', 24, 0}, {"AMOUNT", 'N', 12, 2},
                          {"DAY", 'D', 8, 0},    {"PAID", 'L', 1, 0},  {"CODE", 'C', 10, 0},
                          {"RATIO", 'F', 10, 4}, {"QTY", 'N', 6, 0}};
  std::size_t recordLength = 1;
  for (const Field& field : fields) recordLength += static_cast<std::size_t>(field.length);
  std::string header(32, '\0');
  header[0] = 0x03;
  PutLE(header, 4, rows, 4);
  PutLE(header, 8, 32 + 32 * 8 + 1, 2);
  PutLE(header, 10, static_cast<std::uint32_t>(recordLength), 2);
  header[29] = 0x03;
  for (const Field& field : fields) {
    std::string descriptor(32, '\0');
    std::memcpy(descriptor.data(), field.name, std::strlen(field.name));
    descriptor[11] = field.type;
    descriptor[16] = static_cast<char>(field.length);
    descriptor[17] = static_cast<char>(field.decimals);
    header += descriptor;
  }
  header += '\x0D';
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(header.data(), static_cast<std::streamsize>(header.size()));
  std::string block;
  char record[256], name[32], code[16];
  for (std::uint32_t r = 0; r < rows; ++r) {
    std::snprintf(name, sizeof name, "Customer \xE9 %u", r);
    std::snprintf(code, sizeof code, "C%u", r % 997);
    int day = static_cast<int>(r % 28) + 1;
    int month = static_cast<int>(r / 28 % 12) + 1;
    int year = 1990 + static_cast<int>(r % 30);
    std::snprintf(record, sizeof record, "%c%9u%-24s%12.2f%04d%02d%02d%c%-10s%10.4f%6u",
                  r % 50 == 0 ? '*' : ' ', r + 1, name, r * 0.75, year, month, day,
                  r % 2 ? 'T' : 'F', code, (r % 1000) / 7.0, r % 100000);
    block.append(record, recordLength);
    if (block.size() > (1 << 20)) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
      block.clear();
    }
  }
  block += '\x1A';
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
  return static_cast<bool>(out);
}

bool WriteWorkbook(const std::string& path, int rows) {
  std::string script = std::string(TALLOWICK_SOURCE_DIR) + "/bench/import/make_large_workbook.py";
  std::string rowText = std::to_string(rows);
  pid_t child = fork();
  if (child == 0) {
    execl("/usr/bin/python3", "python3", script.c_str(), path.c_str(), rowText.c_str(), "10",
          nullptr);
    _exit(127);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

// The first query through SQLite on the converted file.
long long CountRows(const std::string& database, const std::string& table) {
  sqlite3* db = nullptr;
  long long count = -1;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    std::string sql = "SELECT count(*) FROM [" + table + "]";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      count = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return count;
}

template <typename Convert>
bool Measure(const char* label, int runs, double limit, Convert convert) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    auto start = Clock::now();
    tallowick::ImportResult result = convert();
    double converted = Seconds(start);
    if (!result.ok) {
      std::fprintf(stderr, "%s: %s\n", label, result.error.c_str());
      return false;
    }
    long long rows = CountRows(result.database.Path(), result.tables.front());
    double queryable = Seconds(start);
    std::printf(
        "%s run %d: converted in %.3f s, queryable (%lld rows) after %.3f s, database %.1f MB\n",
        label, run + 1, converted, rows, queryable,
        static_cast<double>(std::filesystem::file_size(result.database.Path())) / 1e6);
    times.push_back(queryable);
  }
  std::sort(times.begin(), times.end());
  double median = times[times.size() / 2];
  std::printf("%s: median %.3f s, best %.3f s (limit %.1f s) %s\n", label, median, times.front(),
              limit, median <= limit ? "OK" : "TOO SLOW");
  return median <= limit;
}

}  // namespace

int main(int argc, char** argv) {
  int xlsRows = 65535;
  int dbfRows = 1000000;
  int runs = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    int value = std::atoi(argv[i + 1]);
    if (option == "--xls-rows") xlsRows = value;
    if (option == "--dbf-rows") dbfRows = value;
    if (option == "--runs") runs = std::max(1, value);
  }
  char pattern[] = "/tmp/tallowick-import-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 2;
  const std::string folder = pattern;
  const std::string xls = folder + "/large.xls";
  const std::string dbfFolder = folder + "/dbf";
  std::filesystem::create_directory(dbfFolder);

  auto start = Clock::now();
  bool ok = WriteWorkbook(xls, xlsRows);
  std::printf("workbook of %d rows x 10 columns written in %.1f s (%.1f MB)\n", xlsRows,
              Seconds(start),
              ok ? static_cast<double>(std::filesystem::file_size(xls)) / 1e6 : 0.0);
  start = Clock::now();
  ok = ok && WriteDbf(dbfFolder + "/big.dbf", static_cast<std::uint32_t>(dbfRows));
  std::printf(
      "table of %d rows x 8 fields written in %.1f s (%.1f MB)\n", dbfRows, Seconds(start),
      ok ? static_cast<double>(std::filesystem::file_size(dbfFolder + "/big.dbf")) / 1e6 : 0.0);

  bool fast = ok && Measure("xls", runs, 3.0, [&] { return tallowick::ConvertWorkbook(xls); });
  fast = Measure("dbf", runs, 5.0, [&] { return tallowick::ConvertDbfFolder(dbfFolder); }) && fast;
  std::filesystem::remove_all(folder);
  return fast ? 0 : 1;
}
