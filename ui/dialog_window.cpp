#include "ui/dialog_window.h"

#include <stdexcept>
#include <string>

namespace tallowick {

void DataExchange::Text(int id, std::string& value) {
  auto control = m_window.GetItem(id);
  if (m_saving) {
    value = control.GetText();
  } else {
    control.SetText(value);
  }
}

DialogWindow::~DialogWindow() {
  if (m_peer != nullptr) m_peer->OwnerGone();
}

bool DialogWindow::OnInitDialog() {
  UpdateData(false);
  return true;
}

bool DialogWindow::OnCommand(int id, Notification code) { return m_messageMap.Dispatch(id, code); }

void DialogWindow::DoDataExchange(DataExchange&) {}

bool DialogWindow::UpdateData(bool saving) {
  if (m_peer == nullptr) return false;
  DataExchange dx(*this, saving);
  DoDataExchange(dx);
  return true;
}

ControlPeer& DialogWindow::PeerOf(int id, ControlKind kind, bool anyKind) const {
  if (m_peer == nullptr) {
    throw std::logic_error("dialog " + std::to_string(TemplateId()) + " is not created; control " +
                           std::to_string(id) + " cannot be reached");
  }
  ControlPeer* peer = m_peer->FindControl(id);
  if (peer == nullptr) {
    throw std::logic_error("dialog " + std::to_string(TemplateId()) + " has no control " +
                           std::to_string(id));
  }
  if (!anyKind && peer->Kind() != kind) {
    throw std::logic_error("control " + std::to_string(id) + " of dialog " +
                           std::to_string(TemplateId()) + " is a " + ControlKindName(peer->Kind()) +
                           ", not a " + ControlKindName(kind));
  }
  return *peer;
}

Control DialogWindow::GetItem(int id) const {
  return Control(PeerOf(id, ControlKind::Label, true));
}
Button DialogWindow::GetButton(int id) const {
  return Button(PeerOf(id, ControlKind::PushButton, false));
}
EditBox DialogWindow::GetEdit(int id) const {
  return EditBox(PeerOf(id, ControlKind::Edit, false));
}
ListBox DialogWindow::GetListBox(int id) const {
  return ListBox(PeerOf(id, ControlKind::ListBox, false));
}
ComboBox DialogWindow::GetComboBox(int id) const {
  return ComboBox(PeerOf(id, ControlKind::ComboBox, false));
}
ListView DialogWindow::GetListView(int id) const {
  return ListView(PeerOf(id, ControlKind::ListView, false));
}

bool DialogWindow::HasItem(int id) const {
  return m_peer != nullptr && m_peer->FindControl(id) != nullptr;
}

Host& DialogWindow::GetHost() const {
  if (m_host == nullptr)
    throw std::logic_error("dialog " + std::to_string(TemplateId()) + " has no host yet");
  return *m_host;
}

void DialogWindow::AttachPeer(WindowPeer& peer, Host& host) {
  m_peer = &peer;
  m_host = &host;
}

void DialogWindow::DetachPeer() { m_peer = nullptr; }

}  // namespace tallowick
