#include "source/page/page_notices.h"

namespace tallowick {

void PageNotices::ShowAll(Host& host, const std::string& caption) {
  for (const std::string& text : m_texts)
    host.ShowMessage(text, caption, MessageIcon::None, MessageButtons::Ok);
  m_texts.clear();
}

}  // namespace tallowick
