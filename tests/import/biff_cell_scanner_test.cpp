// Workbook streams built record by record: the text records python3-xlwt
// never writes (LABEL, RSTRING, BIFF5 byte strings, phonetic blocks, runs
// and characters split over CONTINUE records) and damaged streams, which
// must end in the reader's message and never in a read outside them.
#include "import/biff_cell_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallowick {
namespace {

std::string U16(unsigned value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}
std::string U32(unsigned value) { return U16(value & 0xFFFF) + U16(value >> 16); }
std::string Record(unsigned type, const std::string& data) {
  return U16(type) + U16(static_cast<unsigned>(data.size())) + data;
}
std::string Place(unsigned row, unsigned column) { return U16(row) + U16(column) + U16(15); }
// UTF-16LE of ASCII text.
std::string Wide(const std::string& text) {
  std::string out;
  for (char ch : text) out += std::string{ch, '\0'};
  return out;
}

constexpr unsigned kBiff8 = 0x0600, kBiff5 = 0x0500;

// A workbook of one worksheet "S": globals, then the sheet's records.
std::string Workbook(const std::string& globals, const std::string& sheet,
                     unsigned version = kBiff8) {
  const std::string bof = Record(0x0809, U16(version) + U16(0x0005) + std::string(12, '\0'));
  const std::string name =
      version == kBiff8 ? std::string("\x01\x00S", 3) : std::string("\x01S", 2);
  auto boundSheet = [&](unsigned offset) {
    return Record(0x0085, U32(offset) + std::string(2, '\0') + name);
  };
  const std::size_t globalsSize = bof.size() + globals.size() + boundSheet(0).size() + 4;
  return bof + globals + boundSheet(static_cast<unsigned>(globalsSize)) + Record(0x000A, "") +
         Record(0x0809, U16(version) + U16(0x0010) + std::string(12, '\0')) + sheet +
         Record(0x000A, "");
}

std::string Sst(unsigned count, const std::string& strings) {
  return Record(0x00FC, U32(count) + U32(count) + strings);
}
std::string LabelSst(unsigned row, unsigned column, unsigned index) {
  return Record(0x00FD, Place(row, column) + U32(index));
}

// "row:column=text" for each text cell of the sheet, in order.
std::string TextsOf(const BiffWorkbook& workbook) {
  std::string out;
  for (const BiffCell& cell : workbook.sheets.at(0).cells) {
    out += std::to_string(cell.row) + ":" + std::to_string(cell.column) + "=" +
           std::string(workbook.View(cell).text) + ";";
  }
  return out;
}

TEST(BiffCellScannerTest, TextRecordsAndSharedStringsSplitOverContinueRecords) {
  struct Case {
    const char* what;
    std::string stream;
    std::string texts;
  };
  const std::vector<Case> cases = {
      {"characters go on in a CONTINUE that switches to UTF-16",
       Workbook(Sst(2, U16(2) + '\0' + "ab" + U16(4) + '\0' + "cd") +
                    Record(0x003C, std::string("\x01") + Wide("ef")),
                LabelSst(0, 1, 1) + LabelSst(0, 0, 0)),
       "0:0=ab;0:1=cdef;"},
      {"rich-text runs and a phonetic block run on without a flag byte",
       Workbook(Sst(2, U16(3) + '\x0C' + U16(2) + U32(5) + "xyz" + U32(0)) +
                    Record(0x003C, U32(0) + std::string(5, '\x07') + U16(1) + '\x01' + Wide("w")),
                LabelSst(0, 0, 0) + LabelSst(1, 0, 1)),
       "0:0=xyz;1:0=w;"},
      {"a string that fills its record leaves the next to start a CONTINUE",
       Workbook(Sst(2, U16(1) + '\0' + "a") + Record(0x003C, U16(1) + '\0' + "b"),
                LabelSst(3, 2, 1)),
       "3:2=b;"},
      {"LABEL and RSTRING hold their own text; a later record for a place wins",
       Workbook("", Record(0x0204, Place(0, 0) + U16(2) + '\x01' + std::string("\xA9\x03x\0", 4)) +
                        Record(0x00D6, Place(0, 1) + U16(2) + '\0' + "hi" + U16(1) + U32(0)) +
                        Record(0x0204, Place(0, 1) + U16(3) + '\0' + "new")),
       "0:0=\xCE\xA9x;0:1=new;"},
      {"a text ends at a NUL character, as the cell shows it",
       Workbook(Sst(1, U16(3) + '\0' + std::string("a\0b", 3)), LabelSst(0, 0, 0)), "0:0=a;"},
      {"BIFF5 text in the workbook's code page",
       Workbook(Record(0x0042, U16(1251)), Record(0x0204, Place(0, 0) + U16(2) + "\xC0\xE1"),
                kBiff5),
       "0:0=\xD0\x90\xD0\xB1;"},
  };
  for (const Case& item : cases) {
    BiffWorkbook workbook;
    std::string why;
    ASSERT_TRUE(ScanBiffWorkbook(
        ByteView(reinterpret_cast<const unsigned char*>(item.stream.data()), item.stream.size()),
        workbook, why))
        << item.what << ": " << why;
    ASSERT_EQ(workbook.sheets.size(), 1u) << item.what;
    EXPECT_EQ(workbook.sheets[0].name, "S") << item.what;
    EXPECT_EQ(TextsOf(workbook), item.texts) << item.what;
  }
}

TEST(BiffCellScannerTest, DamagedStreamsEndInTheReadersMessage) {
  struct Case {
    const char* what;
    std::string stream;
    std::string message;
  };
  const std::string oneString = Sst(1, U16(1) + '\0' + "a");
  const std::string bof8 = Record(0x0809, U16(kBiff8) + U16(5));
  const std::vector<Case> cases = {
      {"an index past the shared strings", Workbook(oneString, LabelSst(0, 0, 1)),
       "sheet \"S\" cannot be read: the workbook is damaged (a cell names a shared string"},
      {"a shared string cut off",
       Workbook(Sst(2, U16(1) + '\0' + "a" + U16(9) + '\0' + "bc"), LabelSst(0, 0, 1)),
       "a cell names a shared string the workbook does not hold"},
      {"a runs count past the data",
       Workbook(Sst(1, U16(1) + '\x08' + U16(900) + "a"), LabelSst(0, 0, 0)),
       "a cell names a shared string the workbook does not hold"},
      {"an index cut short", Workbook(oneString, Record(0x00FD, Place(0, 0) + U16(0))),
       "a record is shorter than its contents"},
      {"a LABEL longer than its record",
       Workbook("", Record(0x0204, Place(0, 0) + U16(50) + '\0' + "ab")),
       "a record is shorter than its contents"},
      {"a formula's text cut short",
       Workbook("", Record(0x0006, Place(0, 0) + std::string(6, '\0') + U16(0xFFFF) +
                                       std::string(8, '\0')) +
                        Record(0x0207, U16(40) + '\0' + "ab")),
       "a record is shorter than its contents"},
      {"a cell past column 256", Workbook("", Record(0x0203, Place(0, 300) + std::string(8, '\0'))),
       "a cell lies past the last column"},
      {"MULRK running past column 256",
       Workbook("",
                Record(0x00BD, U16(0) + U16(255) + U16(15) + U32(2) + U16(15) + U32(2) + U16(256))),
       "a cell lies past the last column"},
      {"a sheet that ends early", Workbook("", "").substr(0, Workbook("", "").size() - 4),
       "sheet \"S\" cannot be read: the workbook is damaged (the sheet ends early)"},
      {"globals that end early", bof8 + Record(0x0042, U16(1252)),
       "the workbook is damaged (the workbook's globals end early)"},
      {"a sheet that is not where the globals say",
       bof8 + Record(0x0085, U32(2) + U16(0) + std::string("\x01\x00S", 3)) + Record(0x000A, ""),
       "the workbook is damaged (the sheet is not where the workbook says)"},
      {"two sheets whose names differ in case alone",
       bof8 + Record(0x0085, U32(0) + U16(0) + std::string("\x01\x00S", 3)) +
           Record(0x0085, U32(0) + U16(0) + std::string("\x01\x00s", 3)) + Record(0x000A, ""),
       "the workbook is damaged (two sheets are named \"s\")"},
      {"two sheets in one place",
       bof8 + Record(0x0085, U32(38) + U16(0) + std::string("\x01\x00S", 3)) +
           Record(0x0085, U32(38) + U16(0) + std::string("\x01\x00T", 3)) + Record(0x000A, "") +
           bof8 + Record(0x000A, ""),
       "sheet \"T\" cannot be read: the workbook is damaged (two sheets overlap)"},
      {"an encrypted workbook", Workbook(Record(0x002F, U16(1)), ""),
       "the workbook is password-protected"},
      {"an Excel 4 stream", Workbook("", "", 0x0400), "it is not an Excel 97-2003 workbook (.xls)"},
      {"no stream at all", "", "it is not an Excel 97-2003 workbook (.xls)"},
  };
  for (const Case& item : cases) {
    BiffWorkbook workbook;
    std::string why;
    EXPECT_FALSE(ScanBiffWorkbook(
        ByteView(reinterpret_cast<const unsigned char*>(item.stream.data()), item.stream.size()),
        workbook, why))
        << item.what;
    EXPECT_NE(why.find(item.message), std::string::npos) << item.what << ": " << why;
  }
}

}  // namespace
}  // namespace tallowick
