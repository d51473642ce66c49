#include "ui/wx/wx_screenshot.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/utils.h>
#include <wx/window.h>

#include "ui/wx/wx_text.h"

namespace tallowick {

bool SaveWindowScreenshot(wxWindow& window, const std::string& pngPath) {
  window.Raise();
  for (int i = 0; i < 100 && !window.IsShownOnScreen(); ++i) {
    wxYield();
    wxMilliSleep(10);
  }
  window.Refresh();
  window.Update();
  for (int i = 0; i < 60; ++i) {  // let the compositor-less X server settle
    wxYield();
    wxMilliSleep(10);
  }
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);

  const wxSize size = window.GetClientSize();
  if (size.x <= 0 || size.y <= 0) return false;
  wxBitmap picture(size.x, size.y, 24);
  wxMemoryDC memory(picture);
  wxClientDC screen(&window);
  const bool copied = memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
  memory.SelectObject(wxNullBitmap);
  return copied && picture.ConvertToImage().SaveFile(ToWx(pngPath), wxBITMAP_TYPE_PNG);
}

bool SavePictureAsJpeg(const std::string& pngPath, const std::string& jpegPath) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  if (wxImage::FindHandler(wxBITMAP_TYPE_JPEG) == nullptr) wxImage::AddHandler(new wxJPEGHandler);
  wxImage picture;
  if (!picture.LoadFile(ToWx(pngPath), wxBITMAP_TYPE_PNG)) return false;
  picture.SetOption(wxIMAGE_OPTION_QUALITY, 90);
  return picture.SaveFile(ToWx(jpegPath), wxBITMAP_TYPE_JPEG);
}

}  // namespace tallowick
