#pragma once
// A PropertySheet run with PropertySheetW: one page per template (built in
// memory, created at once in tab order), no Apply button, the button row OK,
// Cancel and (with help) Help, the sheet's icon on the title bar and task
// bar, F1 (WM_HELP) on any page.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/property_sheet.h"
#include "ui/win32/win32_callback_guard.h"
#include "ui/win32/win32_controls.h"
#include "ui/win32/win32_dialog_template.h"
#include "ui/win32/win32_system.h"
#include "ui/win32/win32_window_peer.h"

namespace tallowick {

class PropertyPage;
class Win32Host;

class Win32Sheet : public SheetPeer {
 public:
  // Shows `owner` modally; the result is what its EndDialog was given.
  static int Run(PropertySheet& owner, Win32Host& host);
  ~Win32Sheet() override;

  ControlPeer* FindControl(int id) override;
  void EndModal(int result) override;
  void OwnerGone() override { m_owner = nullptr; }
  int ActivePage() const override;
  void SetActivePage(int index) override;

 private:
  struct PageSlot {
    Win32Sheet* sheet = nullptr;
    PropertyPage* page = nullptr;
    std::unique_ptr<Win32DialogTemplate> bytes;
    std::wstring title;
    std::unique_ptr<Win32WindowPeer> peer;
  };

  Win32Sheet(PropertySheet& owner, Win32Host& host);
  int RunModal();
  // Every page exists and has run its OnInitDialog: the sheet's turn.
  void Ready();
  void SetIcons();
  void Help();

  static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self);
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnSheetMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnPageMessage(PageSlot& slot, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  PropertySheet* m_owner;
  Win32Host& m_host;
  HWND m_window = nullptr;
  HICON m_bigIcon = nullptr;
  HICON m_smallIcon = nullptr;
  std::vector<std::unique_ptr<PageSlot>> m_pages;
  std::map<int, std::unique_ptr<Win32ControlPeer>> m_buttons;
  int m_result = kIdCancel;
  bool m_closing = false;
  CallbackGuard m_guard;
};

}  // namespace tallowick
