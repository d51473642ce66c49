// How FillPreview reports a failed execution, a fetch failing partway and a
// failed binding, on a result source that plays the failure back.
#include <gtest/gtest.h>

#include "odbc/odbc_api.h"
#include "source/preview.h"
#include "source/query_run.h"
#include "tests/engine/fake_result_source.h"
#include "tests/source/source_test_util.h"

namespace tallowick {
namespace {

using testing::FakeResultSource;
using testing::FakeValue;

TEST(PreviewFailure, ExecutionAndFetchFailuresAreReportedBindingFailuresAreNot) {
  struct Case {
    const char* what;
    bool executeFails;
    std::size_t fetchFailsAt;
    std::uint16_t bindFailsAt;
    bool executed;
    bool fetchFailed;
    std::uint32_t rows;
    bool hasDiagnostic;
  };
  const Case cases[] = {
      {"runs", false, 0, 0, true, false, 4, false},
      {"execution fails", true, 0, 0, false, false, 0, true},
      {"third fetch fails", false, 3, 0, true, true, 2, true},
      {"binding fails", false, 0, 2, true, false, 4, true},
  };
  for (const Case& c : cases) {
    FakeResultSource source({{"id", SQL_INTEGER}, {"name", SQL_VARCHAR}}, 4,
                            [](std::size_t row, std::size_t column) -> FakeValue {
                              if (column == 0) return static_cast<std::int32_t>(row);
                              return std::string("n").append(std::to_string(row));
                            });
    source.executeFails = c.executeFails;
    source.fetchFailsAt = c.fetchFailsAt;
    source.bindFailsAt = c.bindFailsAt;
    PreviewTable table;
    testing::RecordedNotices notices;
    const PreviewResult result = FillPreview(source, 2, table, notices);
    EXPECT_EQ(table.columns, (std::vector<std::string>{"id", "name"})) << c.what;
    EXPECT_EQ(result.executed, c.executed) << c.what;
    EXPECT_EQ(result.fetchFailed, c.fetchFailed) << c.what;
    EXPECT_EQ(result.rows, c.rows) << c.what;
    EXPECT_EQ(table.rows.size(), c.rows) << c.what;
    EXPECT_EQ(result.diagnostic, c.hasDiagnostic ? source.diagnostic : "") << c.what;
  }
  PreviewRun run;
  run.result.executed = true;
  run.result.rows = 2;
  EXPECT_EQ(PreviewFailedMessage(run), "The query failed while its rows were read; rows read: 2");
}

}  // namespace
}  // namespace tallowick
