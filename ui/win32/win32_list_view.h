#pragma once
// A report-mode list view with LVS_OWNERDATA over a ListViewModel: the
// control asks for each visible cell (LVN_GETDISPINFOW), so 65,535 rows appear
// at once. Cells are drawn on one line (win32_text.h).
#include <memory>
#include <string>

#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

class Win32ListViewPeer : public Win32ControlPeer {
 public:
  Win32ListViewPeer(const ControlTemplate& layout, HWND window);

  void SetModel(std::shared_ptr<const ListViewModel> model) override;
  std::shared_ptr<const ListViewModel> Model() const override { return m_model; }
  void ModelChanged() override;

  // LVN_GETDISPINFOW: fills the text of the cell asked for.
  void FillDisplayInfo(NMLVDISPINFOW& info);

  // What the control was last told: its columns and its row count.
  int ShownColumns() const { return m_columns; }
  std::size_t ShownRows() const { return m_rows; }

 private:
  std::shared_ptr<const ListViewModel> m_model;
  int m_columns = 0;
  std::size_t m_rows = 0;
  std::wstring m_cell;  // the text handed out last; the control reads it before asking again
};

}  // namespace tallowick
