#include "ui/property_page.h"

namespace tallowick {

std::string PropertyPage::Caption() const {
  return m_caption.empty() ? Template().caption : m_caption;
}

}  // namespace tallowick
