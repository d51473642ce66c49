#pragma once
// Typed handles on the controls of a created dialog or page, reached by id:
//   GetEdit(1007).SetText("");  GetListBox(1002).AddString(name);
// A handle is cheap to copy and valid while the window exists.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_peer.h"

namespace tallowick {

class Control {
 public:
  explicit Control(ControlPeer& peer) : m_peer(&peer) {}
  int Id() const { return m_peer->Id(); }
  ControlKind Kind() const { return m_peer->Kind(); }
  std::string GetText() const { return m_peer->GetText(); }
  void SetText(const std::string& text) { m_peer->SetText(text); }
  bool IsEnabled() const { return m_peer->IsEnabled(); }
  void Enable(bool enable = true) { m_peer->Enable(enable); }
  bool IsVisible() const { return m_peer->IsVisible(); }
  void Show(bool show = true) { m_peer->Show(show); }
  void SetFocus() { m_peer->SetFocus(); }

 protected:
  ControlPeer* m_peer;
};

class Button : public Control {
 public:
  using Control::Control;
};

class EditBox : public Control {
 public:
  using Control::Control;
  // The most characters the user can type; 0 lifts the limit.
  void SetLimitText(std::size_t limit) { m_peer->SetTextLimit(limit); }
  std::size_t GetLimitText() const { return m_peer->TextLimit(); }
};

class ListBox : public Control {
 public:
  using Control::Control;
  int AddString(const std::string& text) { return m_peer->AddEntry(text); }
  void DeleteString(int index) { m_peer->DeleteEntry(index); }
  void ResetContent() { m_peer->ClearEntries(); }
  int GetCount() const { return m_peer->EntryCount(); }
  std::string GetEntry(int index) const { return m_peer->EntryText(index); }
  std::vector<std::string> GetEntries() const;
  // Highlighted entries, in list order.
  std::vector<int> GetSelectedIndices() const { return m_peer->SelectedEntries(); }
  void SetSelected(int index, bool selected = true) { m_peer->SetEntrySelected(index, selected); }
  // Index of the first entry equal to text, letters compared without regard to
  // case; -1 when there is none.
  int FindExact(const std::string& text) const;
};

class ComboBox : public Control {
 public:
  using Control::Control;
  int AddString(const std::string& text) { return m_peer->AddEntry(text); }
  void ResetContent() { m_peer->ClearEntries(); }
  int GetCount() const { return m_peer->EntryCount(); }
  std::string GetEntry(int index) const { return m_peer->EntryText(index); }
  // The selected entry, or -1.
  int GetCurSel() const;
  void SetCurSel(int index) { m_peer->SetEntrySelected(index, true); }
};

class ListView : public Control {
 public:
  using Control::Control;
  // Shows this model; the control reads it whenever it paints.
  void SetModel(std::shared_ptr<const ListViewModel> model) { m_peer->SetModel(std::move(model)); }
  std::shared_ptr<const ListViewModel> GetModel() const { return m_peer->Model(); }
  // Tells the control that the model it shows has changed.
  void Refresh() { m_peer->ModelChanged(); }
  // Removes every column and every row (shows an empty model).
  void Clear();

  // What the control shows.
  std::size_t GetColumnCount() const;
  std::string GetColumnHeading(std::size_t column) const;
  std::size_t GetRowCount() const;
  std::string GetCellText(std::size_t row, std::size_t column) const;
};

}  // namespace tallowick
