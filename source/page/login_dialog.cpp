#include "source/page/login_dialog.h"

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"

namespace tallowick {

CLoginDialog::CLoginDialog() : Dialog(res::DialogTemplateOf(res::kLoginDialog)) {}

CLoginDialog::~CLoginDialog() = default;

void CLoginDialog::DoDataExchange(DataExchange& dx) {
  dx.Text(res::login::kUserName, m_userName);
  dx.Text(res::login::kPassword, m_password);
}

}  // namespace tallowick
