#pragma once
// Turns the current row's column values into record bytes.
#include <vector>

#include "engine/column_info.h"
#include "engine/record_arena.h"

namespace tallowick {

// Appends the column's field for the current row to `record`.
// A column with no kind appends nothing.
void EncodeField(const ColumnInfo& column, std::vector<unsigned char>& record);
// The same, appended to the open record of `records`.
void EncodeField(const ColumnInfo& column, RecordArena& records);

}  // namespace tallowick
