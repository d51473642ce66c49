#pragma once
// A modal property sheet: a caption, pages in tab order, and a button row of
// OK (id 1), Cancel (id 2) and, when the sheet has help, Help (id 9). There is
// never an Apply button.
#include <string>
#include <vector>

#include "ui/control_peer.h"
#include "ui/controls.h"
#include "ui/notification.h"

namespace tallowick {

class Host;
class PropertyPage;

// A created sheet as its back end holds it: the button row is reached through
// FindControl, the tabs through these.
class SheetPeer : public WindowPeer {
 public:
  virtual int ActivePage() const = 0;
  virtual void SetActivePage(int index) = 0;
};

class PropertySheet {
 public:
  explicit PropertySheet(std::string caption);
  virtual ~PropertySheet();
  PropertySheet(const PropertySheet&) = delete;
  PropertySheet& operator=(const PropertySheet&) = delete;

  const std::string& Caption() const { return m_caption; }
  // Pages are added before the run and outlive it; the sheet does not own them.
  void AddPage(PropertyPage& page);
  const std::vector<PropertyPage*>& Pages() const { return m_pages; }

  // The window icon: an image resource id (0: none).
  void SetIcon(int imageId) { m_iconId = imageId; }
  int IconId() const { return m_iconId; }
  // A sheet with help shows the Help button and answers F1.
  void SetHasHelp(bool hasHelp) { m_hasHelp = hasHelp; }
  bool HasHelp() const { return m_hasHelp; }

  int DoModal(Host& host);
  void EndDialog(int result);

  // After the window and all pages exist (each page's OnInitDialog has run);
  // the default does nothing and returns true.
  virtual bool OnInitDialog();
  // The Help button; the default does nothing.
  virtual void OnHelp();
  // F1 on the sheet or any page; the default calls OnHelp and returns true.
  virtual bool OnHelpInfo();
  // OK ends with kIdOk, Cancel (button, Escape, close box) with kIdCancel.
  virtual void OnOK();
  virtual void OnCancel();

  // The button row of the created sheet (ids 1, 2, 9).
  Button GetButton(int id) const;
  int GetActiveIndex() const;
  void SetActivePage(int index);

  bool IsCreated() const { return m_peer != nullptr; }
  Host& GetHost() const;

  // For back ends.
  void AttachPeer(SheetPeer& peer, Host& host);
  void DetachPeer();
  SheetPeer* Peer() const { return m_peer; }
  // A click on a button of the row.
  void SendButton(int id);

 private:
  std::string m_caption;
  std::vector<PropertyPage*> m_pages;
  int m_iconId = 0;
  bool m_hasHelp = false;
  SheetPeer* m_peer = nullptr;
  Host* m_host = nullptr;
};

}  // namespace tallowick
