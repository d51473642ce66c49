#include "ui/dialog.h"

#include "ui/host.h"
#include "ui/standard_ids.h"

namespace tallowick {

int Dialog::DoModal(Host& host) { return host.RunModal(*this); }

void Dialog::EndDialog(int result) {
  if (Peer() != nullptr) Peer()->EndModal(result);
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(kIdOk);
}

void Dialog::OnCancel() { EndDialog(kIdCancel); }

bool Dialog::OnCommand(int id, Notification code) {
  if (DialogWindow::OnCommand(id, code)) return true;
  if (code != Notification::Clicked) return false;
  if (id == kIdOk) {
    OnOK();
    return true;
  }
  if (id == kIdCancel) {
    OnCancel();
    return true;
  }
  return false;
}

}  // namespace tallowick
