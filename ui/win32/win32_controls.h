#pragma once
// Control peers over the HWNDs the dialog manager created from a template.
// Changes made by the program notify nothing, except an edit box's text
// (EN_CHANGE, as typing); entries of sorted lists are put in their place by
// the peer, without regard to letter case, the same order on every system.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/control_peer.h"
#include "ui/dialog_template.h"
#include "ui/notification.h"
#include "ui/win32/win32_system.h"

namespace tallowick {

class Win32ControlPeer : public ControlPeer {
 public:
  Win32ControlPeer(const ControlTemplate& layout, HWND window);

  int Id() const override { return m_id; }
  ControlKind Kind() const override { return m_kind; }
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  bool IsEnabled() const override;
  void Enable(bool enable) override;
  // The control's own visibility (a page behind another tab does not hide it).
  bool IsVisible() const override;
  void Show(bool show) override;
  void SetFocus() override;

  HWND Window() const { return m_window; }
  ControlStyles Style() const { return m_style; }
  // Who takes a focus request (the window peer: now, or when it shows).
  void SetFocusRequest(std::function<void(HWND)> request) { m_focus = std::move(request); }

  // A WM_COMMAND code of this control as a notification for the page, or
  // nothing (not one the pages handle, or a change the program made).
  virtual std::optional<Notification> Translate(UINT code);

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_window, message, wParam, lParam);
  }

 private:
  int m_id;
  ControlKind m_kind;
  ControlStyles m_style;
  HWND m_window;
  std::function<void(HWND)> m_focus;
};

class Win32EditPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;
  void SetTextLimit(std::size_t limit) override;
  std::size_t TextLimit() const override { return m_limit; }

 private:
  std::size_t m_limit = 0;
};

// List box and combo box share the entry operations by message numbers.
class Win32ListBoxPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;
  // The highlighted entry's text (the first one), or empty.
  std::string GetText() const override;
  int AddEntry(const std::string& text) override;
  void DeleteEntry(int index) override;
  void ClearEntries() override;
  int EntryCount() const override;
  std::string EntryText(int index) const override;
  std::vector<int> SelectedEntries() const override;
  void SetEntrySelected(int index, bool selected) override;
};

class Win32ComboPeer : public Win32ControlPeer {
 public:
  using Win32ControlPeer::Win32ControlPeer;
  void SetText(const std::string& text) override;
  int AddEntry(const std::string& text) override;
  void DeleteEntry(int index) override;
  void ClearEntries() override;
  int EntryCount() const override;
  std::string EntryText(int index) const override;
  std::vector<int> SelectedEntries() const override;
  void SetEntrySelected(int index, bool selected) override;
  // A choice from the list puts its text into the edit field before the page
  // hears of it (the system would do so only afterwards).
  std::optional<Notification> Translate(UINT code) override;

 private:
  // Keeps the edit field's text across `change`, and keeps `change` quiet.
  void KeepingText(const std::function<void()>& change);
  bool m_quiet = false;
};

// Where `text` goes in a list kept sorted without regard to case (after the
// equal entries already there).
int SortedPlace(const std::function<std::string(int)>& entry, int count, const std::string& text);

}  // namespace tallowick
