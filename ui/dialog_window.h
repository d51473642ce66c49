#pragma once
// What dialogs and property pages share: a template, a message map, controls
// reached by id, the start-up and command hooks, and data exchange.
#include <string>

#include "ui/controls.h"
#include "ui/dialog_template.h"
#include "ui/message_map.h"
#include "ui/notification.h"

namespace tallowick {

class DialogWindow;
class Host;

// Moves values between controls and members: loading (members to controls,
// at start-up) or saving (controls to members, on OK).
class DataExchange {
 public:
  DataExchange(DialogWindow& window, bool saving) : m_window(window), m_saving(saving) {}
  bool IsSaving() const { return m_saving; }
  // The text of control `id` and `value`.
  void Text(int id, std::string& value);

 private:
  DialogWindow& m_window;
  bool m_saving;
};

class DialogWindow {
 public:
  // The template belongs to the program's resources and outlives the window.
  explicit DialogWindow(const DialogTemplate& layout) : m_template(&layout) {}
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  int TemplateId() const { return m_template->id; }
  const DialogTemplate& Template() const { return *m_template; }

  // Start-up, after every control exists. The default loads the members into
  // the controls (UpdateData(false)) and returns true.
  virtual bool OnInitDialog();
  // Every notification of a control of this window arrives here first. The
  // default routes it through the message map; an override may act before
  // routing and then call the base. True when a handler ran.
  virtual bool OnCommand(int id, Notification code);
  // Binds members to controls; the default binds nothing.
  virtual void DoDataExchange(DataExchange& dx);
  // saving true: controls to members; false: members to controls. True when done.
  bool UpdateData(bool saving);

  const MessageMap& GetMessageMap() const { return m_messageMap; }

  // Controls of the created window, by id. A missing id, a wrong kind or a
  // window not yet created is a programming fault (std::logic_error).
  Control GetItem(int id) const;
  Button GetButton(int id) const;
  EditBox GetEdit(int id) const;
  ListBox GetListBox(int id) const;
  ComboBox GetComboBox(int id) const;
  ListView GetListView(int id) const;
  bool HasItem(int id) const;

  // The host the window was created by; valid while it exists.
  Host& GetHost() const;
  bool IsCreated() const { return m_peer != nullptr; }

  // For back ends: the created window, and the entry point of notifications.
  void AttachPeer(WindowPeer& peer, Host& host);
  void DetachPeer();
  WindowPeer* Peer() const { return m_peer; }
  bool SendCommand(int id, Notification code) { return OnCommand(id, code); }

 protected:
  void SetMessageMap(MessageMap map) { m_messageMap = std::move(map); }

 private:
  ControlPeer& PeerOf(int id, ControlKind kind, bool anyKind) const;

  const DialogTemplate* m_template;
  MessageMap m_messageMap;
  WindowPeer* m_peer = nullptr;
  Host* m_host = nullptr;
};

}  // namespace tallowick
