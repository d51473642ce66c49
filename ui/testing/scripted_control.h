#pragma once
// One control of a ScriptedWindow: its state kept in memory.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_peer.h"
#include "ui/dialog_template.h"
#include "ui/notification.h"

namespace tallowick {

class ScriptedControl : public ControlPeer {
 public:
  // `notify` delivers a notification of this control to its window.
  ScriptedControl(const ControlTemplate& layout, std::function<void(int, Notification)> notify);

  const ControlTemplate& Template() const { return m_template; }
  ControlStyles Style() const { return m_template.style; }

  int Id() const override { return m_template.id; }
  ControlKind Kind() const override { return m_template.kind; }
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  bool IsEnabled() const override { return m_enabled; }
  void Enable(bool enable) override { m_enabled = enable; }
  bool IsVisible() const override { return m_visible; }
  void Show(bool show) override { m_visible = show; }
  void SetFocus() override {
    if (m_focus) m_focus(Id());
  }
  // Where SetFocus reports the control's id (its window keeps the last one).
  void SetFocusCallback(std::function<void(int)> focus) { m_focus = std::move(focus); }

  void SetTextLimit(std::size_t limit) override;
  std::size_t TextLimit() const override;

  int AddEntry(const std::string& text) override;
  void DeleteEntry(int index) override;
  void ClearEntries() override;
  int EntryCount() const override;
  std::string EntryText(int index) const override;
  std::vector<int> SelectedEntries() const override;
  void SetEntrySelected(int index, bool selected) override;

  void SetModel(std::shared_ptr<const ListViewModel> model) override;
  std::shared_ptr<const ListViewModel> Model() const override;
  void ModelChanged() override;

  // The user's side: typing (cut to the limit, then TextChange).
  void TypeText(const std::string& text);
  // Row count and columns as last read from the model (what is on screen).
  std::size_t ShownRows() const { return m_shownRows; }
  const std::vector<std::string>& ShownHeadings() const { return m_shownHeadings; }

 private:
  void CheckIndex(int index, const char* operation) const;
  bool IsList() const;

  ControlTemplate m_template;
  std::function<void(int, Notification)> m_notify;
  std::function<void(int)> m_focus;
  std::string m_text;
  bool m_enabled;
  bool m_visible;
  std::size_t m_limit = 0;
  std::vector<std::string> m_entries;
  std::vector<bool> m_selected;
  std::shared_ptr<const ListViewModel> m_model;
  std::size_t m_shownRows = 0;
  std::vector<std::string> m_shownHeadings;
};

}  // namespace tallowick
