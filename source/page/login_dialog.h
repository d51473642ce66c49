#pragma once
// The "Connection" dialog: a user name and a password for a data source that
// refused a connection without them.
#include <string>

#include "ui/dialog.h"

namespace tallowick {

class CLoginDialog : public Dialog {
 public:
  CLoginDialog();
  ~CLoginDialog() override;

  // OK saves both boxes into the members; the boxes have no length limit.
  void DoDataExchange(DataExchange& dx) override;

  std::string m_userName;
  std::string m_password;
};

}  // namespace tallowick
