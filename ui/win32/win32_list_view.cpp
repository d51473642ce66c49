#include "ui/win32/win32_list_view.h"

#include <algorithm>

#include "platform/wide_text.h"
#include "ui/win32/win32_text.h"

namespace tallowick {
namespace {

int ColumnFormat(ColumnAlign align) {
  switch (align) {
    case ColumnAlign::Right:
      return LVCFMT_RIGHT;
    case ColumnAlign::Centre:
      return LVCFMT_CENTER;
    case ColumnAlign::Left:
      break;
  }
  return LVCFMT_LEFT;
}

}  // namespace

Win32ListViewPeer::Win32ListViewPeer(const ControlTemplate& layout, HWND window)
    : Win32ControlPeer(layout, window) {
  ListView_SetExtendedListViewStyle(window, LVS_EX_FULLROWSELECT);
}

void Win32ListViewPeer::SetModel(std::shared_ptr<const ListViewModel> model) {
  m_model = std::move(model);
  ModelChanged();
}

void Win32ListViewPeer::ModelChanged() {
  HWND list = Window();
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_SetItemCountEx(list, 0, 0);
  while (ListView_DeleteColumn(list, 0)) {
  }
  m_columns = 0;
  m_rows = 0;
  if (m_model) {
    const std::size_t columns = m_model->ColumnCount();
    for (std::size_t i = 0; i < columns; ++i) {
      const ListViewColumn& column = m_model->Column(i);
      std::wstring heading = platform::Widen(column.heading);
      LVCOLUMNW lvc{};
      lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
      lvc.fmt = ColumnFormat(column.align);
      lvc.cx = column.width;
      lvc.pszText = heading.data();
      lvc.iSubItem = static_cast<int>(i);
      if (ListView_InsertColumn(list, static_cast<int>(i), &lvc) < 0) break;
      ++m_columns;
    }
    // A list with no columns shows no rows.
    if (m_columns > 0) m_rows = m_model->RowCount();
  }
  ListView_SetItemCountEx(list, static_cast<int>(std::min<std::size_t>(m_rows, INT_MAX)),
                          LVSICF_NOINVALIDATEALL);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

void Win32ListViewPeer::FillDisplayInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0) return;
  m_cell.clear();
  if (m_model && item.iItem >= 0 && item.iSubItem >= 0) {
    const auto row = static_cast<std::size_t>(item.iItem);
    const auto column = static_cast<std::size_t>(item.iSubItem);
    // The model may have changed without a Refresh: never read past it.
    if (row < m_model->RowCount() && column < m_model->ColumnCount() &&
        static_cast<int>(column) < m_columns)
      m_cell = OneLineText(platform::Widen(m_model->Text(row, column)));
  }
  if (item.pszText != nullptr && item.cchTextMax > 0) {
    // Into the control's own buffer, cut to its size.
    const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
    const std::size_t length = std::min(room, m_cell.size());
    std::copy_n(m_cell.data(), length, item.pszText);
    item.pszText[length] = L'\0';
  } else {
    item.pszText = m_cell.data();
  }
}

}  // namespace tallowick
