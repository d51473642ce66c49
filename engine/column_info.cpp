#include "engine/column_info.h"

#include <utility>

namespace tallowick {

ColumnInfo MakeColumnInfo(std::uint16_t number, std::string name, std::int16_t sqlType) {
  const ColumnClass columnClass = ClassifyColumn(sqlType);
  ColumnInfo column;
  column.number = number;
  column.name = std::move(name);
  column.sqlType = sqlType;
  column.group = columnClass.group;
  column.bindType = columnClass.bindType;
  column.kind = columnClass.kind;
  return column;
}

}  // namespace tallowick
