#pragma once
// A dialog or page built in memory from its template by the scripted host.
// A test acts on it as a user would and reads back every control.
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_peer.h"
#include "ui/dialog_template.h"
#include "ui/notification.h"

namespace tallowick {

class DialogWindow;
class ScriptedControl;

class ScriptedWindow : public WindowPeer {
 public:
  ScriptedWindow(DialogWindow& owner, const DialogTemplate& layout);
  ~ScriptedWindow() override;

  const DialogTemplate& Template() const { return m_template; }
  DialogWindow* Owner() const { return m_owner; }

  // --- what the user does; each needs the control enabled and visible ---
  // Presses a push button.
  void Click(int id);
  // Replaces the text of an edit box (not read-only) or of a combo box's edit
  // field, as typing would: cut to the box's limit, then TextChange.
  void Type(int id, const std::string& text);
  // Highlights exactly this entry of a list box or combo box, then SelectionChange.
  void Select(int id, int index);
  // Highlights the first entry with this text (exact); ScriptError when none.
  void Select(int id, const std::string& entry);
  // Highlights exactly these entries of an extended-selection list box.
  void SelectMany(int id, const std::vector<int>& indices);
  // Removes every highlight of a list box, then SelectionChange.
  void ClearSelection(int id);
  void DoubleClick(int id, int index);
  // Escape key / close box: the Cancel command.
  void PressEscape();

  // --- what the user sees ---
  std::string Text(int id) const;
  bool IsEnabled(int id) const;
  bool IsVisible(int id) const;
  bool Has(int id) const;
  ControlKind Kind(int id) const;
  std::size_t TextLimit(int id) const;
  std::vector<std::string> Entries(int id) const;
  std::vector<int> Selection(int id) const;
  // List view: headings, rows and cells as the control shows them.
  std::vector<std::string> Columns(int id) const;
  std::size_t RowCount(int id) const;
  std::string Cell(int id, std::size_t row, std::size_t column) const;
  std::vector<std::vector<std::string>> Rows(int id) const;
  // The control the program last gave the focus (SetFocus); 0 when none.
  int Focused() const { return m_focused; }

  // Modal state: whether EndModal was called, and with what.
  bool IsEnded() const { return m_ended; }
  int Result() const { return m_result; }

  // The control with this id (ScriptError when missing).
  ScriptedControl& Control(int id) const;
  // Sends a notification of control `id` to the owner's OnCommand.
  void Notify(int id, Notification code);

  // WindowPeer
  ControlPeer* FindControl(int id) override;
  void EndModal(int result) override;
  void OwnerGone() override { m_owner = nullptr; }

 private:
  ScriptedControl& Usable(int id, const char* action) const;

  DialogWindow* m_owner;
  DialogTemplate m_template;
  std::vector<std::unique_ptr<ScriptedControl>> m_controls;
  std::map<int, ScriptedControl*> m_byId;
  bool m_ended = false;
  int m_result = 0;
  int m_focused = 0;
};

}  // namespace tallowick
