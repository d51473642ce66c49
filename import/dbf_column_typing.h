#pragma once
// How a dBase field becomes a table column, and how each of its values is
// stored.
//   C, V (Visual FoxPro varchar)      -> VARCHAR, trailing blanks removed
//   N, F with decimals                -> DOUBLE
//   N, F without decimals             -> INTEGER when every value fits 32
//                                        bits, else DOUBLE
//   D                                 -> DATE
//   T (Visual FoxPro datetime)        -> TIMESTAMP
//   L                                 -> BIT (T/Y 1, F/N 0, '?' or blank NULL)
//   M                                 -> TEXT, from the memo file
//   I, + (dBase 7 autoincrement)      -> INTEGER
//   Y (currency), B (FoxPro double),
//   O (dBase 7 double)                -> DOUBLE
//   G, P, W, B (dBase binary memo),
//   Q (varbinary), @ (dBase 7 stamp)  -> BLOB, the bytes as stored
// A blank N, F, D, T or L value is NULL, as is any value a Visual FoxPro
// null flag marks. An N, F or D field whose values are not all numbers (or
// dates) becomes VARCHAR holding each value's text (real dates there as
// YYYY-MM-DD), so no value is lost.
// Text is decoded from the table's code page to UTF-8.
#include <cstdint>
#include <string>

#include "import/byte_view.h"
#include "import/column_type.h"
#include "import/dbf_header.h"

namespace tallowick {

class CodePageDecoder;
class DbfMemoFile;
class SqliteTableWriter;

// What the first pass learns about an N, F or D field's values.
struct DbfFieldCensus {
  bool allNumbers = true;  // every non-blank N/F value is a number
  bool allWhole = true;    // ... and a whole number
  bool allInt32 = true;    // ... within 32 bits
  bool allDates = true;    // every non-blank D value is a real date
};

// Whether a Visual FoxPro null flag marks the field's value in `record` NULL.
bool IsNullFlagged(const DbfHeader& header, const DbfField& field, ByteView record);

// Whether the first pass must look at the values of this field.
bool NeedsCensus(const DbfField& field);
void AddToCensus(const DbfField& field, ByteView record, DbfFieldCensus& census);

ColumnType DbfColumnType(const DbfHeader& header, const DbfField& field,
                         const DbfFieldCensus& census);

// Binds the value of `field` in `record` as column `column`. False, with
// `problem` set, when a memo cannot be read.
class DbfValueBinder {
 public:
  DbfValueBinder(const DbfHeader& header, CodePageDecoder& decoder, DbfMemoFile* memo)
      : m_header(header), m_decoder(decoder), m_memo(memo) {}

  bool Bind(SqliteTableWriter& writer, int column, const DbfField& field, ColumnType type,
            ByteView record, std::string& problem);

 private:
  void BindText(SqliteTableWriter& writer, int column, std::string_view bytes);
  void BindVarying(SqliteTableWriter& writer, int column, const DbfField& field, ByteView value,
                   ByteView record);
  void BindNumber(SqliteTableWriter& writer, int column, ColumnType type, std::string_view chars);
  void BindDate(SqliteTableWriter& writer, int column, std::string_view chars);
  bool BindMemo(SqliteTableWriter& writer, int column, const DbfField& field, ColumnType type,
                ByteView value, std::string& problem);
  bool ReadMemo(const DbfField& field, ByteView value, std::string& problem);

  const DbfHeader& m_header;
  CodePageDecoder& m_decoder;
  DbfMemoFile* m_memo;
  std::string m_text;  // reused for each decoded value
  std::string m_memoBytes;
};

}  // namespace tallowick
