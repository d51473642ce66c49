#pragma once
// Notices of a long run (the record limit) kept until the wait window is
// gone, then shown as message boxes in the order they came.
#include <string>
#include <vector>

#include "engine/result_source.h"
#include "ui/host.h"

namespace tallowick {

class PageNotices : public NoticeSink {
 public:
  void Notice(const std::string& text) override { m_texts.push_back(text); }
  // Each notice in a box captioned `caption` with only an OK button and no icon.
  void ShowAll(Host& host, const std::string& caption);

 private:
  std::vector<std::string> m_texts;
};

}  // namespace tallowick
