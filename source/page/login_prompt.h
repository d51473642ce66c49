#pragma once
// The generator page's answer to a data source that wants a password: the
// "Connection" dialog, shown modally by the page's host.
#include <functional>

#include "source/credential_prompt.h"
#include "ui/host.h"

namespace tallowick {

class LoginDialogPrompt : public CredentialPrompt {
 public:
  // The host is looked up when the prompt is asked (the page's host exists
  // only once the page is shown).
  explicit LoginDialogPrompt(std::function<Host&()> host) : m_host(std::move(host)) {}

  // OK: the two texts as typed; Cancel: nullopt.
  std::optional<Credentials> Ask(const std::string& dataSourceName) override;

 private:
  std::function<Host&()> m_host;
};

}  // namespace tallowick
