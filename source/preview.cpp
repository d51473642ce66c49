#include "source/preview.h"

#include "engine/column_info.h"
#include "source/preview_text.h"

namespace tallowick {

namespace {

constexpr std::uint32_t kProgressInterval = 4096;

}  // namespace

PreviewResult FillPreview(ResultSource& source, std::int16_t columnCount, PreviewSink& sink,
                          NoticeSink& notices, ProgressSink* progress) {
  PreviewResult result;
  std::vector<ColumnInfo> columns;
  std::vector<std::string> names;
  for (int number = 1; number <= columnCount; ++number) {
    std::string name;
    std::int16_t sqlType = 0;
    if (!source.DescribeColumn(static_cast<std::uint16_t>(number), name, sqlType)) break;
    names.push_back(name);
    columns.push_back(MakeColumnInfo(static_cast<std::uint16_t>(number), std::move(name), sqlType));
  }
  sink.Columns(names);

  if (!source.Execute()) {
    result.diagnostic = source.Diagnostic();
    return result;
  }
  result.executed = true;

  // `columns` keeps its place from here on: the source writes into it.
  for (ColumnInfo& column : columns) {
    column.value.assign(kValueBufferSize, 0);
    if (!source.BindColumn(column) && result.diagnostic.empty()) {
      result.diagnostic = source.Diagnostic();
    }
  }

  std::vector<PreviewValueForm> forms(columns.size());
  for (;;) {
    const FetchStatus status = source.FetchNext();
    if (status == FetchStatus::NoData) break;
    if (status == FetchStatus::Error) {
      // The fetch failure is what the user must hear of, not a binding.
      result.fetchFailed = true;
      result.diagnostic = source.Diagnostic();
      break;
    }
    if (result.rows == kMaxRecords) {
      result.limitReached = true;
      notices.Notice(kRowLimitMessage);
      break;
    }
    std::vector<std::string> texts;
    texts.reserve(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
      texts.push_back(PreviewValueText(columns[c]));
      forms[c] = PreviewValueFormOf(columns[c]);
    }
    sink.RowForms(forms);
    sink.Row(std::move(texts));
    ++result.rows;
    if (progress != nullptr && result.rows % kProgressInterval == 0)
      progress->RowsRead(result.rows);
  }
  if (progress != nullptr) progress->RowsRead(result.rows);
  return result;
}

}  // namespace tallowick
