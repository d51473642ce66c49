// How long an Excel workbook, a dBase table and a CSV file take to become
// queryable. The benchmark makes its own inputs: 65,535-row x 10-column
// workbooks (.xls through make_large_workbook.py and python3-xlwt, .xlsx
// through make_large_xlsx.py and python3-openpyxl), a 1,000,000-row x
// 8-field dBase III table, and CSV files of 65,535 and 1,000,000 rows x 10
// columns (written here). It then converts each several times and reports,
// per run, the conversion time and the time until the first query on the
// converted database has answered, and at the end the process's peak
// memory (run one format alone with --only to see its own).
//
// usage: tallowick-import-bench [--xls-rows N] [--dbf-rows N] [--csv-rows N]
//                               [--big-csv-rows N] [--runs N]
//                               [--only xls|xlsx|dbf|csv|big-csv]
#include <sqlite3.h>
#include <sys/resource.h>
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

// User and system time the process has used: on a busy machine it tells
// what a run costs better than the clock does.
double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
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

// A CSV file of `rows` rows under a header, ten columns of the kinds a
// real export holds: whole and decimal numbers, quoted texts (some with the
// delimiter), dates, datetimes, booleans, gaps.
bool WriteCsv(const std::string& path, int rows) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "Id,Amount,Name,Day,Stamp,Paid,Note,Qty,Code,Ratio\r\n";
  std::string block;
  char line[256];
  for (int r = 1; r <= rows; ++r) {
    std::snprintf(line, sizeof line,
                  "%d,%.2f,\"Customer, %d\",%04d-%02d-%02d,%04d-%02d-%02d %02d:%02d:%02d,%s,%s,%d,"
                  "C%d,%.4f\r\n",
                  r, r * 0.75, r % 5000, 1990 + r % 30, r % 12 + 1, r % 28 + 1, 2000 + r % 20,
                  r % 12 + 1, r % 28 + 1, r % 24, r % 60, r % 60, r % 2 ? "true" : "false",
                  r % 3 == 0 ? "" : "note", r % 1000, r % 997, (r % 1000) / 7.0);
    block += line;
    if (block.size() > (1 << 20)) {
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
      block.clear();
    }
  }
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
  return static_cast<bool>(out);
}

bool WriteWorkbook(const std::string& path, int rows, const char* writer) {
  std::string script = std::string(TALLOWICK_SOURCE_DIR) + "/bench/import/" + writer;
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
    const double cpuStart = CpuSeconds();
    tallowick::ImportResult result = convert();
    double converted = Seconds(start);
    if (!result.ok) {
      std::fprintf(stderr, "%s: %s\n", label, result.error.c_str());
      return false;
    }
    long long rows = CountRows(result.database.Path(), result.tables.front());
    double queryable = Seconds(start);
    double cpu = CpuSeconds() - cpuStart;
    std::printf(
        "%s run %d: converted in %.3f s, queryable (%lld rows) after %.3f s (%.3f s of CPU), "
        "database %.1f MB\n",
        label, run + 1, converted, rows, queryable, cpu,
        static_cast<double>(std::filesystem::file_size(result.database.Path())) / 1e6);
    times.push_back(queryable);
  }
  std::sort(times.begin(), times.end());
  double median = times[times.size() / 2];
  std::printf("%s: median %.3f s, best %.3f s (limit %.1f s) %s\n", label, median, times.front(),
              limit, median <= limit ? "OK" : "TOO SLOW");
  return median <= limit;
}

double FileMegabytes(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0.0 : static_cast<double>(size) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  int xlsRows = 65535;
  int dbfRows = 1000000;
  int csvRows = 65535;
  int bigCsvRows = 1000000;
  int runs = 3;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string option = argv[i];
    int value = std::atoi(argv[i + 1]);
    if (option == "--xls-rows") xlsRows = value;
    if (option == "--dbf-rows") dbfRows = value;
    if (option == "--csv-rows") csvRows = value;
    if (option == "--big-csv-rows") bigCsvRows = value;
    if (option == "--runs") runs = std::max(1, value);
    if (option == "--only") only = argv[i + 1];
  }
  auto wanted = [&](const char* name) { return only.empty() || only == name; };
  char pattern[] = "/tmp/tallowick-import-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return 2;
  const std::string folder = pattern;
  const std::string xls = folder + "/large.xls";
  const std::string xlsx = folder + "/large.xlsx";
  const std::string csv = folder + "/large.csv";
  const std::string bigCsv = folder + "/big.csv";
  const std::string dbfFolder = folder + "/dbf";
  std::filesystem::create_directory(dbfFolder);

  bool ok = true;
  auto prepare = [&](const char* name, const char* what, const std::string& path, auto write) {
    if (!wanted(name) || !ok) return;
    auto start = Clock::now();
    ok = write();
    std::printf("%s written in %.1f s (%.1f MB)\n", what, Seconds(start), FileMegabytes(path));
  };
  prepare("xls", "workbook (.xls) of 10 columns", xls,
          [&] { return WriteWorkbook(xls, xlsRows, "make_large_workbook.py"); });
  prepare("xlsx", "workbook (.xlsx) of 10 columns", xlsx,
          [&] { return WriteWorkbook(xlsx, xlsRows, "make_large_xlsx.py"); });
  prepare("dbf", "dBase table of 8 fields", dbfFolder + "/big.dbf",
          [&] { return WriteDbf(dbfFolder + "/big.dbf", static_cast<std::uint32_t>(dbfRows)); });
  prepare("csv", "CSV file of 10 columns", csv, [&] { return WriteCsv(csv, csvRows); });
  prepare("big-csv", "large CSV file of 10 columns", bigCsv,
          [&] { return WriteCsv(bigCsv, bigCsvRows); });

  bool fast = ok;
  if (ok && wanted("xls")) {
    fast = Measure("xls", runs, 3.0, [&] { return tallowick::ConvertWorkbook(xls); }) && fast;
  }
  if (ok && wanted("xlsx")) {
    fast = Measure("xlsx", runs, 2.0, [&] { return tallowick::ConvertWorkbook(xlsx); }) && fast;
  }
  if (ok && wanted("dbf")) {
    fast =
        Measure("dbf", runs, 5.0, [&] { return tallowick::ConvertDbfFolder(dbfFolder); }) && fast;
  }
  if (ok && wanted("csv")) {
    fast =
        Measure("csv", runs, 1.0, [&] { return tallowick::ConvertDelimitedText(csv, {}); }) && fast;
  }
  if (ok && wanted("big-csv")) {
    fast = Measure("big-csv", runs, 5.0,
                   [&] { return tallowick::ConvertDelimitedText(bigCsv, {}); }) &&
           fast;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory (resident): %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  std::filesystem::remove_all(folder);
  return fast ? 0 : 1;
}
