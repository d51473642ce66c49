#pragma once
// A modal dialog on a template (the "Connection" dialog, the installer's pages).
#include "ui/dialog_window.h"

namespace tallowick {

class Dialog : public DialogWindow {
 public:
  explicit Dialog(const DialogTemplate& layout) : DialogWindow(layout) {}

  // Builds the window from the template, runs it modally and returns the result
  // given to EndDialog (kIdOk, kIdCancel or a code of the dialog's own).
  int DoModal(Host& host);
  // Ends the modal run with this result.
  void EndDialog(int result);

  // OK button (id 1), unless the message map handles it: saves the controls into
  // the members (UpdateData(true)) and ends with kIdOk.
  virtual void OnOK();
  // Cancel button (id 2), the Escape key and the close box: ends with kIdCancel.
  virtual void OnCancel();

  // Routes through the message map, then sends ids 1 and 2 to OnOK and OnCancel.
  bool OnCommand(int id, Notification code) override;
};

}  // namespace tallowick
