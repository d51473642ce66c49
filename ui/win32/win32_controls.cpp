#include "ui/win32/win32_controls.h"

#include "platform/text_compare.h"
#include "platform/wide_text.h"
#include "ui/win32/win32_notifications.h"
#include "ui/win32/win32_text.h"

namespace tallowick {

int SortedPlace(const std::function<std::string(int)>& entry, int count, const std::string& text) {
  int low = 0;
  int high = count;
  while (low < high) {
    const int mid = (low + high) / 2;
    if (LessIgnoringCase(text, entry(mid))) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return low;
}

// --- every kind ---

Win32ControlPeer::Win32ControlPeer(const ControlTemplate& layout, HWND window)
    : m_id(layout.id), m_kind(layout.kind), m_style(layout.style), m_window(window) {}

std::string Win32ControlPeer::GetText() const { return WindowText(m_window); }
void Win32ControlPeer::SetText(const std::string& text) { SetWindowTextUtf8(m_window, text); }
bool Win32ControlPeer::IsEnabled() const { return ::IsWindowEnabled(m_window) != FALSE; }
void Win32ControlPeer::Enable(bool enable) { ::EnableWindow(m_window, enable ? TRUE : FALSE); }

bool Win32ControlPeer::IsVisible() const {
  return (::GetWindowLongPtrW(m_window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Win32ControlPeer::Show(bool show) { ::ShowWindow(m_window, show ? SW_SHOW : SW_HIDE); }

void Win32ControlPeer::SetFocus() {
  if (m_focus) {
    m_focus(m_window);
  } else {
    ::SetFocus(m_window);
  }
}

std::optional<Notification> Win32ControlPeer::Translate(UINT code) {
  return CommandNotification(m_kind, code);
}

// --- edit box ---

void Win32EditPeer::SetTextLimit(std::size_t limit) {
  // EM_LIMITTEXT holds for typing only; 0 lifts the limit.
  m_limit = limit;
  Send(EM_LIMITTEXT, static_cast<WPARAM>(limit));
}

// --- list box ---

std::string Win32ListBoxPeer::GetText() const {
  const auto selected = SelectedEntries();
  return selected.empty() ? std::string() : EntryText(selected.front());
}

int Win32ListBoxPeer::AddEntry(const std::string& text) {
  int at = EntryCount();
  if (HasStyle(Style(), kSorted))
    at = SortedPlace([this](int i) { return EntryText(i); }, at, text);
  const std::wstring wide = platform::Widen(text);
  return static_cast<int>(
      Send(LB_INSERTSTRING, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(wide.c_str())));
}

void Win32ListBoxPeer::DeleteEntry(int index) {
  if (index >= 0 && index < EntryCount()) Send(LB_DELETESTRING, static_cast<WPARAM>(index));
}

void Win32ListBoxPeer::ClearEntries() { Send(LB_RESETCONTENT); }

int Win32ListBoxPeer::EntryCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }

std::string Win32ListBoxPeer::EntryText(int index) const {
  if (index < 0 || index >= EntryCount()) return {};
  const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length == LB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  return platform::Narrow(text);
}

std::vector<int> Win32ListBoxPeer::SelectedEntries() const {
  if (!HasStyle(Style(), kExtendedSelection)) {
    const LRESULT selected = Send(LB_GETCURSEL);
    if (selected == LB_ERR) return {};
    return {static_cast<int>(selected)};
  }
  const LRESULT count = Send(LB_GETSELCOUNT);
  if (count == LB_ERR || count <= 0) return {};
  std::vector<int> selected(static_cast<std::size_t>(count));
  const LRESULT got =
      Send(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
  selected.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return selected;
}

void Win32ListBoxPeer::SetEntrySelected(int index, bool selected) {
  if (HasStyle(Style(), kExtendedSelection)) {
    // Index -1 stands for every entry.
    if (index >= -1 && index < EntryCount())
      Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    return;
  }
  if (selected && index >= 0 && index < EntryCount()) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));
  } else if (!selected && (index == -1 || Send(LB_GETCURSEL) == index)) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
  }
}

// --- combo box ---

void Win32ComboPeer::KeepingText(const std::function<void()>& change) {
  const std::string text = WindowText(Window());
  m_quiet = true;
  change();
  if (WindowText(Window()) != text) SetWindowTextUtf8(Window(), text);
  m_quiet = false;
}

void Win32ComboPeer::SetText(const std::string& text) {
  m_quiet = true;
  SetWindowTextUtf8(Window(), text);
  m_quiet = false;
}

int Win32ComboPeer::AddEntry(const std::string& text) {
  int at = EntryCount();
  if (HasStyle(Style(), kSorted))
    at = SortedPlace([this](int i) { return EntryText(i); }, at, text);
  const std::wstring wide = platform::Widen(text);
  LRESULT placed = CB_ERR;
  KeepingText([&] {
    placed = Send(CB_INSERTSTRING, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(wide.c_str()));
  });
  return static_cast<int>(placed);
}

void Win32ComboPeer::DeleteEntry(int index) {
  if (index < 0 || index >= EntryCount()) return;
  KeepingText([&] { Send(CB_DELETESTRING, static_cast<WPARAM>(index)); });
}

void Win32ComboPeer::ClearEntries() {
  // CB_RESETCONTENT empties the edit field too; the text stays.
  KeepingText([&] { Send(CB_RESETCONTENT); });
}

int Win32ComboPeer::EntryCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }

std::string Win32ComboPeer::EntryText(int index) const {
  if (index < 0 || index >= EntryCount()) return {};
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR || length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return platform::Narrow(text);
}

std::vector<int> Win32ComboPeer::SelectedEntries() const {
  const LRESULT selected = Send(CB_GETCURSEL);
  if (selected == CB_ERR) return {};
  return {static_cast<int>(selected)};
}

void Win32ComboPeer::SetEntrySelected(int index, bool selected) {
  m_quiet = true;
  if (selected && index >= 0 && index < EntryCount()) {
    Send(CB_SETCURSEL, static_cast<WPARAM>(index));
  } else if (!selected) {
    // Removing the highlight keeps the text in the edit field.
    KeepingText([&] { Send(CB_SETCURSEL, static_cast<WPARAM>(-1)); });
  }
  m_quiet = false;
}

std::optional<Notification> Win32ComboPeer::Translate(UINT code) {
  if (m_quiet) return std::nullopt;
  if (code == CBN_SELCHANGE) {
    const auto selected = SelectedEntries();
    if (!selected.empty()) {
      m_quiet = true;
      SetWindowTextUtf8(Window(), EntryText(selected.front()));
      m_quiet = false;
    }
  }
  return Win32ControlPeer::Translate(code);
}

}  // namespace tallowick
