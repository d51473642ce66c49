// The printers' escaping: what scripts that read our CSV and JSON rely on.
#include "cli/table_output.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/arguments.h"
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

TEST(TableOutput, TextColumnsAlignByCharactersNotBytes) {
  std::ostringstream out;
  PrintTable({{"name", "n"}, {{"Crème", "1"}, {"ab", "22"}}}, OutputFormat::Text, out);
  EXPECT_EQ(out.str(), "name   n\n-----  --\nCrème  1\nab     22\n");

  // Escaped cells are aligned by what is shown.
  std::ostringstream escaped;
  PrintTable({{"a\tb", "n"}, {{"\x1b", "1"}}}, OutputFormat::Text, escaped);
  EXPECT_EQ(escaped.str(), "a\\tb  n\n----  -\n\\x1b  1\n");
  std::ostringstream exact;
  PrintTable({{"a\tb"}, {{"\x1b"}}}, OutputFormat::Csv, exact);
  EXPECT_EQ(exact.str(), "a\tb\r\n\x1b\r\n");
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
