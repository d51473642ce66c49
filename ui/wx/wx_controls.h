#pragma once
// The wx side of each control kind.
#include <wx/listctrl.h>
#include <wx/window.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_peer.h"
#include "ui/dialog_template.h"
#include "ui/notification.h"

class wxComboBox;
class wxListBox;
class wxTextCtrl;

namespace tallowick {

using NotifyFunction = std::function<void(int, Notification)>;

// Labels, group boxes, buttons, icons and pictures: text, state.
class WxControlPeer : public ControlPeer {
 public:
  WxControlPeer(const ControlTemplate& layout, wxWindow* window, NotifyFunction notify);
  int Id() const override { return m_id; }
  ControlKind Kind() const override { return m_kind; }
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  bool IsEnabled() const override;
  void Enable(bool enable) override;
  bool IsVisible() const override;
  void Show(bool show) override;
  void SetFocus() override;
  wxWindow* Window() const { return m_window; }
  // SetFocus goes through `request` (the window decides when the control
  // can take the focus); without one the control takes it at once.
  void SetFocusRequest(std::function<void(wxWindow*)> request) { m_focus = std::move(request); }

 protected:
  void Notify(Notification code) const;
  ControlStyles Style() const { return m_style; }

 private:
  int m_id;
  ControlKind m_kind;
  ControlStyles m_style;
  wxWindow* m_window;
  NotifyFunction m_notify;
  std::function<void(wxWindow*)> m_focus;
};

class WxEditPeer : public WxControlPeer {
 public:
  WxEditPeer(const ControlTemplate& layout, wxTextCtrl* edit, NotifyFunction notify);
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  void SetTextLimit(std::size_t limit) override;
  std::size_t TextLimit() const override { return m_limit; }

 private:
  void OnText();

  wxTextCtrl* m_edit;
  std::size_t m_limit = 0;
  bool m_limitLifted = false;  // text longer than the limit was set by the program
};

class WxComboPeer : public WxControlPeer {
 public:
  WxComboPeer(const ControlTemplate& layout, wxComboBox* combo, NotifyFunction notify);
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  int AddEntry(const std::string& text) override;
  void DeleteEntry(int index) override;
  void ClearEntries() override;
  int EntryCount() const override;
  std::string EntryText(int index) const override;
  std::vector<int> SelectedEntries() const override;
  void SetEntrySelected(int index, bool selected) override;

 private:
  // GTK reports a choice only when it differs from the entry already chosen;
  // while the list is down nothing is chosen, so that every choice is one.
  void OnDropDown();
  void OnCloseUp();

  wxComboBox* m_combo;
  bool m_quiet = false;  // a change made by the program: no notification
};

class WxListBoxPeer : public WxControlPeer {
 public:
  WxListBoxPeer(const ControlTemplate& layout, wxListBox* list, NotifyFunction notify);
  std::string GetText() const override;
  int AddEntry(const std::string& text) override;
  void DeleteEntry(int index) override;
  void ClearEntries() override;
  int EntryCount() const override;
  std::string EntryText(int index) const override;
  std::vector<int> SelectedEntries() const override;
  void SetEntrySelected(int index, bool selected) override;

 private:
  wxListBox* m_list;
};

// A report-mode list that asks its model for every text it paints.
class VirtualListCtrl : public wxListCtrl {
 public:
  VirtualListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
  void SetModel(std::shared_ptr<const ListViewModel> model);
  const std::shared_ptr<const ListViewModel>& Model() const { return m_model; }
  // Re-reads the columns and the row count.
  void Reload();

 protected:
  wxString OnGetItemText(long item, long column) const override;

 private:
  std::shared_ptr<const ListViewModel> m_model;
};

class WxListViewPeer : public WxControlPeer {
 public:
  WxListViewPeer(const ControlTemplate& layout, VirtualListCtrl* list, NotifyFunction notify);
  std::string GetText() const override { return {}; }
  void SetText(const std::string&) override {}
  void SetModel(std::shared_ptr<const ListViewModel> model) override;
  std::shared_ptr<const ListViewModel> Model() const override;
  void ModelChanged() override;

 private:
  VirtualListCtrl* m_list;
};

}  // namespace tallowick
