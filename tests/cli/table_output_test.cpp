// The printers' escaping: what scripts that read our CSV and JSON rely on.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/arguments.h"
#include "cli/table_output.h"

namespace tallowick::cli {
namespace {

TEST(TableOutput, JsonStringsAreValidWhateverTheBytes) {
  EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(JsonString("line\nnext\ttab\x01"), "\"line\\nnext\\ttab\\u0001\"");
  EXPECT_EQ(JsonString("Cr\xC3\xA8me"), "\"Cr\xC3\xA8me\"") << "valid UTF-8 passes";
  EXPECT_EQ(JsonString("Cr\xE8me"), "\"Cr\\ufffdme\"") << "a Windows-1252 byte is not UTF-8";
  EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"") << "no surrogates";
  EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\ufffd\\ufffd\"") << "no overlong forms";
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
