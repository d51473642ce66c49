#pragma once
// A property sheet built in memory by the scripted host: its tabs (each page a
// ScriptedWindow) and its button row.
#include <memory>
#include <string>
#include <vector>

#include "ui/property_sheet.h"
#include "ui/testing/scripted_window.h"

namespace tallowick {

class ScriptedControl;

class ScriptedSheet : public SheetPeer {
 public:
  ScriptedSheet(PropertySheet& owner, std::vector<std::unique_ptr<ScriptedWindow>> pages);
  ~ScriptedSheet() override;

  const std::string& Caption() const { return m_caption; }
  int IconId() const;
  std::vector<std::string> TabTitles() const;
  int ActiveTab() const { return m_active; }
  // Clicks on a tab.
  void SelectTab(int index);
  ScriptedWindow& Page(int index) const;
  ScriptedWindow& ActivePageWindow() const { return Page(m_active); }

  // The button row: ids 1 (OK), 2 (Cancel) and 9 (Help, only on a sheet with help).
  bool HasButton(int id) const;
  std::string ButtonText(int id) const;
  bool IsButtonVisible(int id) const;
  // Visible buttons of the row, in order, by their texts.
  std::vector<std::string> VisibleButtons() const;
  // Presses a button of the row (must be visible and enabled).
  void Click(int id);
  // F1 while the sheet (any page) has the focus.
  void PressF1();
  // The close box.
  void Close();

  bool IsOpen() const { return !m_ended; }
  int Result() const { return m_result; }

  // SheetPeer
  ControlPeer* FindControl(int id) override;
  void EndModal(int result) override;
  void OwnerGone() override { m_owner = nullptr; }
  int ActivePage() const override { return m_active; }
  void SetActivePage(int index) override;

 private:
  PropertySheet* m_owner;
  std::string m_caption;
  std::vector<std::unique_ptr<ScriptedWindow>> m_pages;
  std::vector<std::unique_ptr<ScriptedControl>> m_buttons;
  int m_active = 0;
  bool m_ended = false;
  int m_result = 0;
};

}  // namespace tallowick
