#include "source/query_composer.h"

#include <algorithm>
#include <cctype>

namespace tallowick {

namespace {

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += separator;
    text += parts[i];
  }
  return text;
}

// Deletes the first entry of `list` that matches `entry`; true if one did.
bool EraseFirstMatch(std::vector<std::string>& list, const std::string& entry) {
  const auto found = std::find_if(list.begin(), list.end(), [&](const std::string& item) {
    return SameFieldEntry(item, entry);
  });
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

std::vector<std::string> Picked(const std::vector<std::string>& list,
                                const std::vector<std::size_t>& indices) {
  std::vector<std::size_t> sorted = indices;
  std::sort(sorted.begin(), sorted.end());
  sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
  std::vector<std::string> picked;
  for (std::size_t index : sorted) {
    if (index < list.size()) picked.push_back(list[index]);
  }
  return picked;
}

// The query after a move: recomposed when tables are highlighted.
void RecomposeQuery(FieldMove& move, const std::vector<std::string>& tables) {
  if (tables.empty()) return;
  move.query = ComposeFieldQuery(move.lists.selected, tables);
  move.clearPreview = true;
}

}  // namespace

std::string ComposeTableQuery(const std::vector<std::string>& tableQueryForms) {
  return kTableQueryStart + Joined(tableQueryForms, kTableSeparator);
}

std::string ComposeFieldQuery(const std::vector<std::string>& selectedFields,
                              const std::vector<std::string>& tableQueryForms) {
  return kFieldQueryStart + Joined(selectedFields, kFieldSeparator) + kFieldQueryFrom +
         Joined(tableQueryForms, kFieldQueryTableSeparator);
}

bool SameFieldEntry(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

FieldMove AddFields(const FieldLists& lists, const std::vector<std::size_t>& highlightedAvailable,
                    const std::vector<std::string>& highlightedTableQueryForms) {
  FieldMove move;
  move.lists = lists;
  const std::vector<std::string> picked = Picked(lists.available, highlightedAvailable);
  if (picked.empty()) return move;
  move.moved = true;
  move.lists.selected.insert(move.lists.selected.end(), picked.begin(), picked.end());
  for (const std::string& entry : move.lists.selected) EraseFirstMatch(move.lists.available, entry);
  RecomposeQuery(move, highlightedTableQueryForms);
  return move;
}

FieldMove RemoveFields(const FieldLists& lists, const std::vector<std::size_t>& highlightedSelected,
                       const std::vector<std::string>& highlightedTableQueryForms) {
  FieldMove move;
  move.lists = lists;
  const std::vector<std::string> picked = Picked(lists.selected, highlightedSelected);
  if (picked.empty()) return move;
  move.moved = true;
  move.lists.available.insert(move.lists.available.end(), picked.begin(), picked.end());
  for (const std::string& entry : move.lists.available) EraseFirstMatch(move.lists.selected, entry);
  if (move.lists.selected.empty()) {
    move.query = std::string();
    return move;
  }
  RecomposeQuery(move, highlightedTableQueryForms);
  return move;
}

}  // namespace tallowick
