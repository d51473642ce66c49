// Text reaches the handheld in its own 8-bit encoding, and is read back
// from it for display.
#include "engine/handheld_charset.h"

#include <gtest/gtest.h>

#include "engine/generation_job.h"
#include "engine/helper_file.h"
#include "engine/pdb_file.h"
#include "tests/engine/fake_result_source.h"
#include "tests/engine/test_files.h"

namespace tallowick {
namespace {

using namespace testing;

const std::string kCreme =
    "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
    "e";                                                              // "Crème brûlée" in UTF-8
const std::string kNihongo = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // "日本語"

std::string Bytes(const std::string& hex) {
  const auto bytes = Hex(hex);
  return std::string(bytes.begin(), bytes.end());
}

TEST(HandheldTextEncoder, StoresEachSetsOwnBytes) {
  std::size_t replaced = 99;
  HandheldTextEncoder western(HandheldCharset::Western);
  EXPECT_EQ(western.Convert(kCreme, &replaced),
            "Cr\xE8me br\xFBl\xE9"
            "e");
  EXPECT_EQ(replaced, 0u);
  EXPECT_EQ(western.Convert("\xE2\x82\xAC 5"), "\x80 5") << "the euro sign has its cp1252 byte";

  HandheldTextEncoder japanese(HandheldCharset::Japanese);
  EXPECT_EQ(japanese.Convert(kNihongo), Bytes("93 FA 96 7B 8C EA"));
  HandheldTextEncoder chinese(HandheldCharset::SimplifiedChinese);
  EXPECT_EQ(chinese.Convert("\xE4\xB8\xAD"), Bytes("D6 D0"));  // 中
  HandheldTextEncoder big5(HandheldCharset::TraditionalChinese);
  EXPECT_EQ(big5.Convert("\xE4\xB8\xAD"), Bytes("A4 A4"));
  HandheldTextEncoder korean(HandheldCharset::Korean);
  EXPECT_EQ(korean.Convert("\xED\x95\x9C"), Bytes("C7 D1"));  // 한

  HandheldTextEncoder utf8(HandheldCharset::Utf8);
  EXPECT_EQ(utf8.Convert(kCreme + kNihongo), kCreme + kNihongo);
}

TEST(HandheldTextEncoder, ReplacesWhatTheSetLacksByOneQuestionMarkEach) {
  std::size_t replaced = 0;
  HandheldTextEncoder western(HandheldCharset::Western);
  EXPECT_EQ(western.Convert("a" + kNihongo +
                                "\xE2\x86\x92"
                                "b",
                            &replaced),
            "a????b");
  EXPECT_EQ(replaced, 4u);
  EXPECT_EQ(western.Convert("x\xFFy\xC3", &replaced), "x?y?") << "bytes that are not UTF-8";
  EXPECT_EQ(replaced, 2u);
  HandheldTextEncoder japanese(HandheldCharset::Japanese);
  EXPECT_EQ(japanese.Convert("\xC3\xA8" + kNihongo, &replaced), "?" + Bytes("93 FA 96 7B 8C EA"));
  EXPECT_EQ(replaced, 1u);
}

TEST(HandheldTextEncoder, NeverOverrunsTheRoomOrSplitsACharacter) {
  std::string out;
  HandheldTextEncoder japanese(HandheldCharset::Japanese);
  japanese.Convert(kNihongo.data(), kNihongo.size(), out, 5);
  EXPECT_EQ(out, Bytes("93 FA 96 7B")) << "the third character needs 2 bytes, 1 is left";
  HandheldTextEncoder utf8(HandheldCharset::Utf8);
  utf8.Convert(kNihongo.data(), kNihongo.size(), out, 4);
  EXPECT_EQ(out, "\xE6\x97\xA5");
  HandheldTextEncoder western(HandheldCharset::Western);
  western.Convert("abcdef", 6, out, 3);
  EXPECT_EQ(out, "abc");
}

TEST(HandheldCharsets, OptionsAndLabelsNameEverySet) {
  EXPECT_EQ(HandheldCharsets().front().charset, HandheldCharset::Western);
  EXPECT_EQ(HandheldCharsets().size(), 6u);
  for (const char* option : {"cp1252", "shift-jis", "gb2312", "big5", "euc-kr", "utf-8"}) {
    const auto charset = CharsetByOption(option);
    ASSERT_TRUE(charset) << option;
    EXPECT_EQ(CharsetByLabel(InfoOf(*charset).label), charset);
  }
  EXPECT_FALSE(CharsetByOption("latin1"));
  EXPECT_STREQ(InfoOf(HandheldCharset::Utf8).label, "UTF-8 (no conversion)");
}

TEST(DecodeHandheldText, GuessesUtf8OrWindows1252UnlessTold) {
  EXPECT_EQ(DecodeHandheldText("Cr\xE8me", std::nullopt), "Cr\xC3\xA8me");
  EXPECT_EQ(DecodeHandheldText(kCreme, std::nullopt), kCreme) << "valid UTF-8 stays";
  EXPECT_EQ(DecodeHandheldText("plain", std::nullopt), "plain");
  EXPECT_EQ(DecodeHandheldText(Bytes("93 FA 96 7B 8C EA"), HandheldCharset::Japanese), kNihongo);
  EXPECT_EQ(DecodeHandheldText(kCreme, HandheldCharset::Western),
            "Cr\xC3\x83\xC2\xA8me br\xC3\x83\xC2\xBBl\xC3\x83\xC2\xA9"
            "e")
      << "an explicit choice wins over the guess";
  EXPECT_EQ(DecodeHandheldText("a\x81"
                               "b",
                               HandheldCharset::Western),
            "a\xEF\xBF\xBD"
            "b")
      << "a byte cp1252 leaves undefined";
  EXPECT_EQ(DecodeHandheldText("a\xFF", HandheldCharset::Utf8), "a\xEF\xBF\xBD");
}

class HandheldGeneration : public ::testing::Test {
 protected:
  class NoNotices : public NoticeSink {
   public:
    void Notice(const std::string&) override {}
  };

  void Generate(HandheldCharset charset, const std::string& pdbName) {
    FakeResultSource source({{"Nom", 12}, {"Pr\xC3\xA9nom", 12}, {"id", 4}},
                            {{std::string(kCreme + "\t\r"),
                              std::string("\xE2\x86\x92"
                                          "x"),
                              std::int32_t{1}},
                             {std::string(kNihongo), std::monostate{}, std::int32_t{2}}});
    GenerationRequest request;
    request.outputFolder = m_folder.Directory();
    request.columnCount = 3;
    request.pdbName = pdbName;
    request.creator = "HWRP";
    request.type = "HWRP";
    request.charset = charset;
    NoNotices notices;
    GenerationJob job(notices);
    ASSERT_EQ(job.Generate(source, request), 1);
  }

  std::vector<testing::Bytes> Records(const std::string& fileName, PdbHeader& header) {
    PdbFile file(fileName, m_folder.Directory(), ".pdb");
    std::vector<PdbRecordEntry> entries;
    std::uint16_t count = 0;
    EXPECT_TRUE(file.ReadRecordList(header, entries, count));
    std::vector<testing::Bytes> records;
    for (std::size_t i = 0; i < count; ++i) {
      auto record = file.ReadRecord(entries, i, count);
      record->pop_back();
      records.push_back(*record);
    }
    return records;
  }

  TempFolder m_folder;
};

TEST_F(HandheldGeneration, WesternStoresCp1252BytesAndCountsReplacementsPerColumn) {
  Generate(HandheldCharset::Western, "Cr\xC3\xA8me");
  PdbHeader header;
  const auto records = Records("Cr\xC3\xA8me", header);  // the file keeps its UTF-8 name
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(header.name, "Cr\xE8me") << "the handheld reads its own encoding of the name";
  // Converted before the tab and carriage-return rules: the tab widens, the CR goes.
  EXPECT_EQ(ToHex(records[0]), ToHex(Hex("43 72 E8 6D 65 20 62 72 FB 6C E9 65 20 20 20 20 20 00"
                                         " 3F 78 00 00 00 00 01")));
  EXPECT_EQ(ToHex(records[1]), ToHex(Hex("3F 3F 3F 00 00 00 00 00 02")));

  const auto helper = ReadHelperFile(m_folder / "Cr\xC3\xA8meHelper.mhl");
  ASSERT_TRUE(helper);
  EXPECT_EQ(helper->pdbName, "Cr\xE8me");
  EXPECT_EQ(helper->headerName, "Cr\xE8meHelper");
  ASSERT_EQ(helper->fields.size(), 3u);
  EXPECT_EQ(helper->fields[1].name, "Pr\xE9nom");

  std::string processLog = ReadFileText(m_folder / "TallowickProcess.log");
#ifdef _WIN32
  std::erase(processLog, '\r');  // logs are text files there: CR LF line ends
#endif
  EXPECT_NE(
      processLog.find("\n4 character(s) not available in Western (Windows-1252) were "
                      "stored as \"?\": 3 in column \"Nom\", 1 in column \"Pr\xC3\xA9nom\"\n"),
      std::string::npos)
      << processLog;
  // The logs are read on the desktop: they keep UTF-8.
  EXPECT_NE(ReadFileText(m_folder / "TallowickLog.txt").find("char Pr\xC3\xA9nom[]"),
            std::string::npos);
}

TEST_F(HandheldGeneration, Utf8StoresTheDriversBytesUnchanged) {
  Generate(HandheldCharset::Utf8, "Plain");
  PdbHeader header;
  const auto records = Records("Plain", header);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(std::string(records[1].begin(), records[1].begin() + 10), kNihongo + '\0');
  EXPECT_EQ(ReadFileText(m_folder / "TallowickProcess.log").find("not available"),
            std::string::npos);
}

}  // namespace
}  // namespace tallowick
