#include "ui/wx/wx_message_box.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "ui/wx/wx_text.h"

namespace tallowick {
namespace {

// Long texts wrap at this width (pixels at the dialog's font), as a message box's do.
constexpr int kWrapWidth = 480;

long ButtonFlags(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return wxOK;
    case MessageButtons::OkCancel:
      return wxOK | wxCANCEL;
    case MessageButtons::YesNo:
      return wxYES_NO;
  }
  return wxOK;
}

int EscapeId(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return wxID_OK;
    case MessageButtons::OkCancel:
      return wxID_CANCEL;
    case MessageButtons::YesNo:
      return wxID_NO;
  }
  return wxID_OK;
}

}  // namespace

const char* MessageArtId(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None:
      return "";
    case MessageIcon::Stop:
      return wxART_ERROR;
    case MessageIcon::Information:
      return wxART_INFORMATION;
    case MessageIcon::Question:
      return wxART_QUESTION;
    case MessageIcon::Exclamation:
      return wxART_WARNING;
  }
  return "";
}

int RunMessageBox(wxWindow* owner, const std::string& text, const std::string& caption,
                  MessageIcon icon, MessageButtons buttons) {
  wxDialog box(owner, wxID_ANY, ToWx(caption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  const wxString artId = MessageArtId(icon);
  if (!artId.empty()) {
    const wxBitmap picture = wxArtProvider::GetBitmap(artId, wxART_MESSAGE_BOX);
    if (picture.IsOk()) {
      row->Add(new wxStaticBitmap(&box, wxID_ANY, picture), wxSizerFlags().Top().Border(wxALL, 12));
    }
  }
  auto* message = new wxStaticText(&box, wxID_ANY, ToWx(text));
  message->Wrap(box.FromDIP(kWrapWidth));
  row->Add(message, wxSizerFlags(1).CentreVertical().Border(wxALL, 12));

  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(row, wxSizerFlags(1).Expand());
  if (wxSizer* buttonRow = box.CreateSeparatedButtonSizer(ButtonFlags(buttons)))
    column->Add(buttonRow, wxSizerFlags().Expand().Border(wxALL, 8));
  box.SetSizerAndFit(column);
  // Each button ends the box with its own id; Escape and the close box press
  // the escape button.
  for (const int id : {wxID_OK, wxID_CANCEL, wxID_YES, wxID_NO})
    box.Bind(
        wxEVT_BUTTON, [&box, id](wxCommandEvent&) { box.EndModal(id); }, id);
  box.SetEscapeId(EscapeId(buttons));
  if (wxWindow* first = box.FindWindow(buttons == MessageButtons::YesNo ? wxID_YES : wxID_OK))
    first->SetFocus();
  box.CentreOnParent();
  return box.ShowModal();
}

}  // namespace tallowick
