#include "ui/property_sheet.h"

#include <stdexcept>

#include "ui/host.h"
#include "ui/property_page.h"
#include "ui/standard_ids.h"

namespace tallowick {

PropertySheet::PropertySheet(std::string caption) : m_caption(std::move(caption)) {}

PropertySheet::~PropertySheet() {
  if (m_peer != nullptr) m_peer->OwnerGone();
}

void PropertySheet::AddPage(PropertyPage& page) { m_pages.push_back(&page); }

int PropertySheet::DoModal(Host& host) { return host.RunModal(*this); }

void PropertySheet::EndDialog(int result) {
  if (m_peer != nullptr) m_peer->EndModal(result);
}

bool PropertySheet::OnInitDialog() { return true; }
void PropertySheet::OnHelp() {}

bool PropertySheet::OnHelpInfo() {
  OnHelp();
  return true;
}

void PropertySheet::OnOK() { EndDialog(kIdOk); }
void PropertySheet::OnCancel() { EndDialog(kIdCancel); }

Button PropertySheet::GetButton(int id) const {
  ControlPeer* peer = m_peer != nullptr ? m_peer->FindControl(id) : nullptr;
  if (peer == nullptr) throw std::logic_error("the sheet has no button " + std::to_string(id));
  return Button(*peer);
}

int PropertySheet::GetActiveIndex() const { return m_peer != nullptr ? m_peer->ActivePage() : -1; }

void PropertySheet::SetActivePage(int index) {
  if (m_peer != nullptr) m_peer->SetActivePage(index);
}

Host& PropertySheet::GetHost() const {
  if (m_host == nullptr) throw std::logic_error("the sheet has no host yet");
  return *m_host;
}

void PropertySheet::AttachPeer(SheetPeer& peer, Host& host) {
  m_peer = &peer;
  m_host = &host;
}

void PropertySheet::DetachPeer() { m_peer = nullptr; }

void PropertySheet::SendButton(int id) {
  switch (id) {
    case kIdOk:
      OnOK();
      break;
    case kIdCancel:
      OnCancel();
      break;
    case kIdHelp:
      OnHelp();
      break;
    default:
      break;
  }
}

}  // namespace tallowick
