// The printers' escaping: what scripts that read our CSV and JSON rely on.
#include "cli/table_output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/arguments.h"
#include "cli/terminal_sinks.h"
#include "cli/terminal_text.h"

namespace tallowick::cli {
namespace {

TEST(TableOutput, JsonStringsAreValidWhateverTheBytes) {
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("line\nnext\ttab\x01"), "\"line\\nnext\\ttab\\u0001\"");
  EXPECT_EQ(JsonString("Cr\xC3\xA8me"), "\"Cr\xC3\xA8me\"") << "valid UTF-8 passes";
  EXPECT_EQ(JsonString("Cr\xE8me"), "\"Cr\\ufffdme\"") << "a Windows-1252 byte is not UTF-8";
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"") << "no surrogates";
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\ufffd\\ufffd\"") << "no overlong forms";
  EXPECT_EQ(JsonString("\x1b[2J\x7f\xC2\x9B\xC2\xA0"), "\"\\u001b[2J\\u007f\\u009b\xC2\xA0\"")
      << "C0, DEL and C1 escaped; U+00A0 is no control character";
  const struct {
    const char* text;
    PreviewValueForm form;
    const char* json;
  } values[] = {
      {"-12", PreviewValueForm::Number, "-12"},
      {"2.500000", PreviewValueForm::Number, "2.500000"},
      {"1.000000e+08", PreviewValueForm::Number, "1.000000e+08"},
      {"inf", PreviewValueForm::Number, "\"inf\""},
      {"-nan", PreviewValueForm::Number, "\"-nan\""},
      {"007", PreviewValueForm::Number, "\"007\""},
      {"12", PreviewValueForm::Text, "\"12\""},
      {"", PreviewValueForm::Null, "null"},
  };
  for (const auto& v : values) EXPECT_EQ(JsonValue(v.text, v.form), v.json) << v.text;
}

TEST(TerminalText, ControlCharactersAreShownEscaped) {
  const std::pair<const char*, const char*> cases[] = {
      {"plain \\ text", "plain \\ text"},
      {"a\nb\rc\td", "a\\nb\\rc\\td"},
      {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
      {"\x7f", "\\x7f"},
      {"\xC2\x9B"
       "2J",
       "\\u009b2J"},                                           // C1 as UTF-8
      {"\xC2\x80\xC2\x9F\xC2\xA0", "\\u0080\\u009f\xC2\xA0"},  // U+00A0 stays
      {"\x9b"
       "2J \xE8",
       "\\x9b2J \xE8"},  // stray bytes: only 0x80-0x9F
      {"Cr\xC3\xA8me \xE6\x97\xA5", "Cr\xC3\xA8me \xE6\x97\xA5"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(TerminalText(text), shown) << text;
  EXPECT_EQ(TerminalMessage("one\x1b[2J\ntwo\t"), "one\\x1b[2J\ntwo\\t") << "line breaks stay";
}

TEST(TableOutput, CsvQuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(CsvField("plain"), "plain");
  EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
  EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(CsvField("two\nlines"), "\"two\nlines\"");
}

TEST(TableOutput, TextColumnsAlignByDisplayWidth) {
  const struct {
    TextTable table;
    OutputFormat format;
    std::string shown;
  } cases[] = {
      {{{"name", "n"}, {{"Cr\xC3\xA8me", "1"}, {"ab", "22"}}, {}},
       OutputFormat::Text,
       "name   n\n-----  --\nCr\xC3\xA8me  1\nab     22\n"},
      // Wide characters take two columns, a combining mark none.
      {{{"word", "n"},
        {{"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "1"}, {"e\xCC\x81", "2"}, {"abcdefg", "3"}},
        {}},
       OutputFormat::Text,
       "word     n\n-------  -\n\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E   1\ne\xCC\x81        2\n"
       "abcdefg  3\n"},
      // Escaped cells are aligned by what is shown; a line break stays on the line.
      {{{"a\tb", "n"}, {{"\x1b", "1"}, {"x\r\ny", "2"}}, {}},
       OutputFormat::Text,
       "a\\tb    n\n------  -\n\\x1b    1\nx\\r\\ny  2\n"},
      {{{"a\tb"}, {{"\x1b"}}, {}}, OutputFormat::Csv, "a\tb\r\n\x1b\r\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    PrintTable(c.table, c.format, out);
    EXPECT_EQ(out.str(), c.shown);
  }
}

TEST(TerminalSinks, TheProgressLineIsClearedBeforeANotice) {
  std::ostringstream err;
  {
    TerminalProgress progress(err, true);
    StreamNotices notices(err, progress);
    progress.RowsRead(65000);
    notices.Notice("No More than 65535 records supported in a single PDB!!");
    notices.Notice("again");
    progress.RowsRead(65535);
  }
  EXPECT_EQ(err.str(),
            "\rRows read: 65000\r\033[K"
            "tallowick-cli: No More than 65535 records supported in a single PDB!!\n"
            "tallowick-cli: again\n"
            "\rRows read: 65535\r\033[K");
}

TEST(Arguments, OptionsTakeValuesInEitherFormAndUnknownOnesAreRefused) {
  const Arguments arguments({"x", "--query", "SELECT 1", "--out=/tmp", "--flag", "--", "--y"},
                            {"--query", "--out"}, {"--flag"});
  EXPECT_EQ(arguments.Positionals(), (std::vector<std::string>{"x", "--y"}));
  EXPECT_EQ(arguments.ValueOr("--query", ""), "SELECT 1");
  EXPECT_EQ(arguments.ValueOr("--out", ""), "/tmp");
  EXPECT_TRUE(arguments.Has("--flag"));
  EXPECT_THROW(Arguments({"--nope"}, {}, {}), UsageError);
  EXPECT_THROW(Arguments({"--query"}, {"--query"}, {}), UsageError);
  EXPECT_THROW(Arguments({"--flag=1"}, {}, {"--flag"}), UsageError);
}

}  // namespace
}  // namespace tallowick::cli
