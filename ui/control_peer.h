#pragma once
// The back-end side of a control and of a window. The wx back end and the
// scripted test host implement these; pages never see them directly (they use
// the typed wrappers of controls.h).
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "ui/control_kind.h"
#include "ui/list_view_model.h"

namespace tallowick {

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;

  virtual int Id() const = 0;
  virtual ControlKind Kind() const = 0;

  // Every kind. Setting an edit box's text sends it a TextChange notification,
  // as typing does; no other kind notifies on a change made by the program.
  virtual std::string GetText() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void Enable(bool enable) = 0;
  virtual bool IsVisible() const = 0;
  virtual void Show(bool show) = 0;
  virtual void SetFocus() = 0;

  // Edit box: the most characters the user can type (0 = no limit). Text set
  // by the program is not cut.
  virtual void SetTextLimit(std::size_t limit);
  virtual std::size_t TextLimit() const;

  // List box and combo box entries. AddEntry returns the index at which the
  // entry was put (its sorted place for a sorted control).
  virtual int AddEntry(const std::string& text);
  virtual void DeleteEntry(int index);
  virtual void ClearEntries();
  virtual int EntryCount() const;
  virtual std::string EntryText(int index) const;
  // Highlighted entries in list order; a combo box has at most one.
  virtual std::vector<int> SelectedEntries() const;
  // A combo box (or single-selection list box) then highlights only this one;
  // selecting a combo box entry puts its text into the edit field. Index -1
  // with selected false removes every highlight.
  virtual void SetEntrySelected(int index, bool selected);

  // List view: the model it reads, and the call that makes it read it again
  // after the model changed (columns or row count).
  virtual void SetModel(std::shared_ptr<const ListViewModel> model);
  virtual std::shared_ptr<const ListViewModel> Model() const;
  virtual void ModelChanged();

 protected:
  // Reports an operation this kind of control does not have (a programming
  // fault): throws std::logic_error naming the control and the operation.
  [[noreturn]] void WrongKind(const char* operation) const;
};

// A created dialog, page or sheet as its back end holds it.
class WindowPeer {
 public:
  virtual ~WindowPeer() = default;
  // The control with this id, or null.
  virtual ControlPeer* FindControl(int id) = 0;
  // Ends a modal run with this result (dialogs and sheets; a page ignores it).
  virtual void EndModal(int result) = 0;
  // The owner object is being destroyed: forget it.
  virtual void OwnerGone() = 0;
};

}  // namespace tallowick
