#include "ui/control_peer.h"

#include <stdexcept>
#include <string>

namespace tallowick {

void ControlPeer::WrongKind(const char* operation) const {
  throw std::logic_error(std::string("control ") + std::to_string(Id()) + " (" +
                         ControlKindName(Kind()) + ") has no operation " + operation);
}

void ControlPeer::SetTextLimit(std::size_t) { WrongKind("SetTextLimit"); }
std::size_t ControlPeer::TextLimit() const { WrongKind("TextLimit"); }
int ControlPeer::AddEntry(const std::string&) { WrongKind("AddEntry"); }
void ControlPeer::DeleteEntry(int) { WrongKind("DeleteEntry"); }
void ControlPeer::ClearEntries() { WrongKind("ClearEntries"); }
int ControlPeer::EntryCount() const { WrongKind("EntryCount"); }
std::string ControlPeer::EntryText(int) const { WrongKind("EntryText"); }
std::vector<int> ControlPeer::SelectedEntries() const { WrongKind("SelectedEntries"); }
void ControlPeer::SetEntrySelected(int, bool) { WrongKind("SetEntrySelected"); }
void ControlPeer::SetModel(std::shared_ptr<const ListViewModel>) { WrongKind("SetModel"); }
std::shared_ptr<const ListViewModel> ControlPeer::Model() const { WrongKind("Model"); }
void ControlPeer::ModelChanged() { WrongKind("ModelChanged"); }

}  // namespace tallowick
