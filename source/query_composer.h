#pragma once
// The SELECT texts composed from the table and field lists, and the tidying
// of the two field lists when entries move between them. Pure functions
// over list contents: the page only moves strings between its controls.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tallowick {

inline constexpr const char* kTableQueryStart = "SELECT   *   FROM  ";
inline constexpr const char* kTableSeparator = " , ";
inline constexpr const char* kFieldQueryStart = "SELECT    ";
inline constexpr const char* kFieldSeparator = " , ";
inline constexpr const char* kFieldQueryFrom = " FROM  ";
inline constexpr const char* kFieldQueryTableSeparator = " ,  ";

// "SELECT   *   FROM  " + the tables joined by " , ".
std::string ComposeTableQuery(const std::vector<std::string>& tableQueryForms);

// "SELECT    " + the fields joined by " , " + " FROM  " + the tables
// joined by " ,  ".
std::string ComposeFieldQuery(const std::vector<std::string>& selectedFields,
                              const std::vector<std::string>& tableQueryForms);

// Two field-list entries are the same entry when their whole texts match
// without regard to letter case.
bool SameFieldEntry(const std::string& a, const std::string& b);

struct FieldLists {
  std::vector<std::string> available;
  std::vector<std::string> selected;
};

struct FieldMove {
  bool moved = false;  // false: nothing was highlighted, nothing changes
  FieldLists lists;
  std::optional<std::string> query;  // nullopt: the query box keeps its text
  bool clearPreview = false;
};

// ">>": the highlighted Available entries (indices in list order) go to the
// end of the Selected list; every Selected entry then removes its first
// match from the Available list. The query is recomposed when a table is
// highlighted.
FieldMove AddFields(const FieldLists& lists, const std::vector<std::size_t>& highlightedAvailable,
                    const std::vector<std::string>& highlightedTableQueryForms);

// "<<": the highlighted Selected entries go to the end of the Available
// list; every Available entry then removes its first match from the
// Selected list. An emptied Selected list empties the query box.
FieldMove RemoveFields(const FieldLists& lists, const std::vector<std::size_t>& highlightedSelected,
                       const std::vector<std::string>& highlightedTableQueryForms);

}  // namespace tallowick
