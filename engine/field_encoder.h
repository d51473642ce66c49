#pragma once
// Turns the current row's column values into record bytes.
#include <vector>

#include "engine/column_info.h"

namespace tallowick {

// Appends the column's field for the current row to `record`.
// A column with no kind appends nothing.
void EncodeField(const ColumnInfo& column, std::vector<unsigned char>& record);

}  // namespace tallowick
