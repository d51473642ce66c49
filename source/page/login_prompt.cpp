#include "source/page/login_prompt.h"

#include "source/page/login_dialog.h"
#include "ui/standard_ids.h"

namespace tallowick {

std::optional<Credentials> LoginDialogPrompt::Ask(const std::string&) {
  CLoginDialog dialog;
  if (dialog.DoModal(m_host()) != kIdOk) return std::nullopt;
  return Credentials{dialog.m_userName, dialog.m_password};
}

}  // namespace tallowick
