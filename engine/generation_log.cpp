#include "engine/generation_log.h"

namespace tallowick {

namespace {

void Put(std::FILE* log, const char* text) {
  if (log != nullptr) std::fputs(text, log);
}

void PutF(std::FILE* log, const char* format, const std::string& value) {
  if (log != nullptr) std::fprintf(log, format, value.c_str());
}

void AppendHexEscape(std::string& out, unsigned value) {
  constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kDigits[(value >> 4) & 0xF];
  out += kDigits[value & 0xF];
}

const char* MemberLineFormat(RowGroup group) {
  switch (group) {
    case RowGroup::Character:
      return "\t char %s[];\t\t//Sequence of characters terminated by '\\0'(String)\n";
    case RowGroup::LongInteger:
      return "\t long %s;\t\t//A variable of standard type \"long\" of size 4 bytes\n";
    case RowGroup::ShortInteger:
    case RowGroup::Byte:
    case RowGroup::Bit:
      return "\t short int %s;\t\t//A variable of standard type \"short int\" of size 2 bytes \n";
    case RowGroup::Double:
      return "\t double %s;\t\t//A variable of standard type \"double\" of size 8 bytes\n";
    case RowGroup::Float:
      return "\t float %s;\t\t//A variable of standard type \"float\" of size 4 bytes\n";
    case RowGroup::Date:
      return "\t DateType %s;\t\t//A variable of palm type \"DateType\"\n";
    case RowGroup::Time:
      return "\t TimeType %s;\t\t//A variable of palm type \"TimeType\"\n";
    case RowGroup::Timestamp:
      return "\t DateTimeType %s;\t\t//A variable of palm type \"DateTimeType\"\n";
    case RowGroup::None:
      break;
  }
  return nullptr;
}

const char* ColumnLineFormat(RowGroup group) {
  switch (group) {
    case RowGroup::Character:
      return "Found column no. %d having name \"%s\" of \"character\" type\n";
    case RowGroup::LongInteger:
      return "Found column no. %d having name \"%s\" of \"long integer\" type\n";
    case RowGroup::ShortInteger:
      return "Found column no. %d having name \"%s\" of \"short integer\" type\n";
    case RowGroup::Byte:
      return "Found column no. %d having name \"%s\" of \"Byte\" type\n";
    case RowGroup::Bit:
      return "Found column no. %d having name \"%s\" of \"Bit\" type\n";
    case RowGroup::Double:
      return "Found column no. %d having name \"%s\" of \"double\" type\n";
    case RowGroup::Float:
      return "Found column no. %d having name \"%s\" of \"float\" type\n";
    case RowGroup::Date:
      return "Found column no. %d having name \"%s\" of \"Date\" type\n";
    case RowGroup::Time:
      return "Found column no. %d having name \"%s\" of \"Time\" type\n";
    case RowGroup::Timestamp:
      return "Found column no. %d having name \"%s\" of \"TimeStamp\" type (Includes date and "
             "time, both value may not be correct at a time)\n";
    case RowGroup::None:
      break;
  }
  return "Found column no. %d having name \"%s\" of \"unknown type\", It will not be included in "
         "PDB.\n";
}

constexpr const char kDashLine[] =
    "--------------------------------------------------------------------";

void WriteDateTimeTypedefs(std::FILE* log, const DateTimeUse& use) {
  if (!use.timestamp && !use.time && !use.date) return;
  Put(log, "\n\n\n");
  Put(log, kDashLine);
  Put(log, "\nUse Following Palm Data types for Date and Time:\n");
  if (use.timestamp) {
    Put(log,
        "\ntypedef struct {"
        "\n\tsigned short\tsecond;"
        "\n\tsigned short\tminute;"
        "\n\tsigned short\thour;"
        "\n\tsigned short\tday;"
        "\n\tsigned short\tmonth;"
        "\n\tsigned short\tyear;"
        "\n\tsigned short\tweekDay;\t// Days since Sunday (0 to 6)"
        "\n\t} DateTimeType;");
  }
  if (use.time) {
    Put(log,
        "\n\ntypedef struct {"
        "\n\tunsigned char\thours;"
        "\n\tunsigned char\tminutes;"
        "\n} TimeType;");
  }
  if (use.date) {
    Put(log,
        "\n\ntypedef struct {"
        "\n\tunsigned short   year  :7;\t//first 7 bits forms year"
        "\n\tunsigned short   month :4;\t//next 4 bits forms month"
        "\n\tunsigned short   day   :5;\t//next 5 bits forms day"
        "\n} DateType;");
  }
}

}  // namespace

std::string EscapeControlCharacters(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      AppendHexEscape(out, byte);
    } else if (byte == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      // U+0080 to U+009F, the C1 controls, as their UTF-8 bytes.
      AppendHexEscape(out, byte);
      AppendHexEscape(out, static_cast<unsigned char>(text[++i]));
    } else {
      out += text[i];
    }
  }
  return out;
}

void WriteLogHead(std::FILE* log, const std::string& pdbName, const std::string& creator,
                  const std::string& type) {
  Put(log, "Tallowick Log....\n\n");
  Put(log, "Please Save following information for your reference purpose.\n");
  PutF(log, "\nPDB name   \t:%s", pdbName);
  PutF(log, "\nPDB Creator\t:%s", creator);
  PutF(log, "\nPDB Type\t:%s", type);
  Put(log, "\n\nData records written into PDB in following format.\n");
  Put(log, "You must use this format to read it.\n\n");
  Put(log, "PDB Record Format:\n\n");
  Put(log, "typedef struct\n{");
}

std::string LogMemberLine(RowGroup group, const std::string& columnName) {
  const char* format = MemberLineFormat(group);
  if (format == nullptr) return {};
  const std::string name = EscapeControlCharacters(columnName);
  const int length = std::snprintf(nullptr, 0, format, name.c_str());
  if (length <= 0) return {};
  std::string line(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(line.data(), line.size(), format, name.c_str());
  line.resize(static_cast<std::size_t>(length));
  return line;
}

void WriteLogMember(std::FILE* log, RowGroup group, const std::string& columnName) {
  Put(log, LogMemberLine(group, columnName).c_str());
}

void WriteLogRecordEnd(std::FILE* log) { Put(log, "}\n"); }

void WriteLogTail(std::FILE* log, unsigned long total, const DateTimeUse& use,
                  const std::string& helperName, const std::string& pdbName,
                  const std::string& outputFolder) {
  if (log == nullptr) return;
  std::fprintf(log, "\nTotal Records written: %lu", total);
  WriteDateTimeTypedefs(log, use);
  Put(log, "\n\n");
  Put(log, kDashLine);
  std::fprintf(log,
               "\n\n\"%s%s\" file generated accompanying this pdb. Use PQuorvane tab to use this "
               "Helper file alongwith \"%s.pdb\"",
               helperName.c_str(), ".mhl", pdbName.c_str());
  std::fprintf(log, "\n\nFor More Detailed information about generated PDB, see \"%s\" at \"%s\"",
               kProcessLogFileName, outputFolder.c_str());
  Put(log,
      "\nYou need to save these log(s) for later reference purpose, otherwise these logs may get "
      "overwritten.");
}

void WriteProcessHead(std::FILE* log, const std::string& pdbName) {
  PutF(log, "Started PDB Generation for \"%s.pdb\"\n\n", pdbName);
  Put(log, "Retriving database Column information...\n");
}

void WriteProcessColumn(std::FILE* log, int columnNumber, const std::string& columnName,
                        RowGroup group) {
  if (log != nullptr) {
    std::fprintf(log, ColumnLineFormat(group), columnNumber,
                 EscapeControlCharacters(columnName).c_str());
  }
}

void WriteProcessDescribeEnd(std::FILE* log) {
  Put(log, "Finished Retriving database Column information.\n");
}

void WriteProcessConvertStart(std::FILE* log) { Put(log, "\nGetting Data from database...\n"); }

void WriteProcessExecuteError(std::FILE* log, const std::string& diagnostic) {
  Put(log, "\nCould Execute statement..\n");
  WriteDiagnosticLine(log, diagnostic);
}

void WriteProcessBindError(std::FILE* log, const std::string& diagnostic) {
  Put(log, "\nCould not Bind Column..\n");
  WriteDiagnosticLine(log, diagnostic);
}

void WriteProcessFetchError(std::FILE* log, unsigned long rowsRead, const std::string& diagnostic) {
  if (log == nullptr) return;
  std::fprintf(log, "Error while reading record no. %lu from MDB\n", rowsRead);
  WriteDiagnosticLine(log, diagnostic);
}

void WriteProcessReadEnd(std::FILE* log) {
  Put(log, "Finished Reading Records from database\n\n");
  Put(log, "Writing Records into to PDB...\n");
}

void WriteProcessWriteEnd(std::FILE* log, unsigned long total) {
  if (log == nullptr) return;
  Put(log, "Finsished writing records to PDB.\n\n");
  std::fprintf(log, "\nTotal Records written: %lu\n\n", total);
  Put(log, "Finsished Generating PDB.\n\n");
}

void WriteProcessFileError(std::FILE* log, const std::string& path) {
  PutF(log, "\nCould not write \"%s\"\n\n", path);
}

void WriteProcessSizeLimit(std::FILE* log, unsigned long records) {
  if (log == nullptr) return;
  std::fprintf(log,
               "\nThe PDB would pass 4 GiB, the most its 32-bit offsets can address, with record "
               "no. %lu; reading stopped.\n\n",
               records);
}

void WriteProcessRunFailed(std::FILE* log) {
  Put(log,
      "\nThe PDB was not generated; the earlier PDB and Helper file were left as they were.\n");
  Put(log, "\nTotal Records written: 0\n\n");
}

void WriteLogFailedTail(std::FILE* log, const std::string& outputFolder) {
  if (log == nullptr) return;
  Put(log, "\nTotal Records written: 0");
  Put(log, "\n\n");
  Put(log, kDashLine);
  std::fprintf(log,
               "\n\nThe PDB was not generated. For More Detailed information, see \"%s\" at "
               "\"%s\"",
               kProcessLogFileName, outputFolder.c_str());
}

void WriteProcessTail(std::FILE* log, const std::string& helperName, const std::string& pdbName) {
  if (log == nullptr) return;
  std::fprintf(log,
               "\"%s%s\" generated accompanying this pdb. PQuorvane tab of this application uses "
               "this Helper file alongwith \"%s.pdb\"",
               helperName.c_str(), ".mhl", pdbName.c_str());
  Put(log,
      "\n\nThis helper file contains information about the actual generated pdb. It contains "
      "information like pdb name, creator, type and record format.");
  Put(log, "\nPQuorvane uses this record format to show you actual record contents.");
  Put(log, "\nUse PQuorvane tab to verify pdb contents. You can also use any ");
  Put(log,
      "\nPalm Development tool like \"Metrowerks CodeWarrior\" or any other tool using record "
      "format given in log.");
}

void WriteDiagnosticLine(std::FILE* log, const std::string& diagnostic) {
  PutF(log, "\n\t\t%s \n\n", diagnostic);
}

void WriteProcessReplacements(std::FILE* log, const std::string& charsetLabel,
                              const std::vector<ReplacedCharacters>& columns) {
  if (log == nullptr || columns.empty()) return;
  unsigned long total = 0;
  for (const auto& column : columns) total += column.count;
  std::fprintf(log, "\n%lu character(s) not available in %s were stored as \"?\":", total,
               charsetLabel.c_str());
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::fprintf(log, "%s %lu in column \"%s\"", i == 0 ? "" : ",", columns[i].count,
                 EscapeControlCharacters(columns[i].column).c_str());
  }
  std::fputs("\n\n", log);
}

}  // namespace tallowick
