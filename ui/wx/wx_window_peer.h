#pragma once
// A dialog or page built with wx from its template: the controls by id, and
// their notifications sent to the owner's OnCommand.
#include <wx/window.h>

#include <map>
#include <memory>
#include <vector>

#include "ui/control_peer.h"
#include "ui/dialog_template.h"
#include "ui/wx/wx_controls.h"

namespace tallowick {

class DialogWindow;

// Pixels per dialog unit for a window's font, made tall enough that the
// desktop's edit boxes and buttons fit the heights the templates give them.
class DialogUnits {
 public:
  explicit DialogUnits(wxWindow* window);
  wxPoint Point(int x, int y) const;
  wxSize Size(int width, int height) const;

 private:
  wxSize m_base;     // ConvertDialogToPixels of (4, 8): average character width and height
  double m_stretch;  // extra vertical factor, >= 1
};

class WxWindowPeer : public WindowPeer {
 public:
  // Creates the template's controls as children of `parent` (already sized).
  WxWindowPeer(DialogWindow& owner, const DialogTemplate& layout, wxWindow* parent);
  ~WxWindowPeer() override;

  ControlPeer* FindControl(int id) override;
  void EndModal(int result) override;
  void OwnerGone() override { m_owner = nullptr; }

  // The size of the template in pixels: the smallest the window may be.
  wxSize ClientSize() const { return m_clientSize; }
  wxWindow* Parent() const { return m_parent; }
  DialogWindow* Owner() const { return m_owner; }

  // Gives the focus to the control the program asked for while the window
  // was not yet on the screen (a page behind another tab, a dialog not yet
  // shown); called once it is.
  void TakePendingFocus();

 private:
  struct Placed {
    wxWindow* window;
    ControlStyles style;
    wxRect rect;  // in pixels, at the template's size
  };

  void Build(const DialogTemplate& layout);
  void Notify(int id, Notification code);
  void RequestFocus(wxWindow* window);
  // Hands the room beyond the template's size to the controls marked to grow.
  void Arrange(const wxSize& size);

  DialogWindow* m_owner;
  wxWindow* m_parent;
  wxSize m_clientSize;
  std::vector<std::unique_ptr<WxControlPeer>> m_controls;
  std::map<int, WxControlPeer*> m_byId;
  std::vector<Placed> m_resizable;
  wxWindow* m_pendingFocus = nullptr;
  // This object while it lives, for handlers bound to the window.
  std::shared_ptr<WxWindowPeer*> m_alive = std::make_shared<WxWindowPeer*>(this);
};

}  // namespace tallowick
