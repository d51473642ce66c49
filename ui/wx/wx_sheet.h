#pragma once
// A PropertySheet shown with wxPropertySheetDialog: one notebook tab per page,
// the button row OK, Cancel and (with help) Help.
#include <wx/propdlg.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/property_sheet.h"
#include "ui/wx/wx_controls.h"
#include "ui/wx/wx_window_peer.h"

namespace tallowick {

class Host;

class WxSheet : public SheetPeer {
 public:
  WxSheet(PropertySheet& owner, Host& host, wxWindow* parent);
  ~WxSheet() override;

  wxPropertySheetDialog& Dialog() { return *m_dialog; }

  ControlPeer* FindControl(int id) override;
  void EndModal(int result) override;
  void OwnerGone() override { m_owner = nullptr; }
  int ActivePage() const override;
  void SetActivePage(int index) override;
  // The focus asked for on the page on top (see WxWindowPeer::TakePendingFocus).
  void TakeActivePageFocus();

 private:
  void BindEvents();

  PropertySheet* m_owner;
  wxPropertySheetDialog* m_dialog;
  std::vector<std::unique_ptr<WxWindowPeer>> m_pages;
  std::map<int, std::unique_ptr<WxControlPeer>> m_buttons;
};

}  // namespace tallowick
