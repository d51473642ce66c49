#include "cli/terminal_sinks.h"

#include <unistd.h>

#include "cli/terminal_text.h"

namespace tallowick::cli {

void StreamNotices::Notice(const std::string& text) {
  m_err << "tallowick-cli: " << TerminalMessage(text) << '\n';
}

void StreamNotices::Waiting(const std::string& text) {
  m_err << "tallowick-cli: " << TerminalMessage(text) << '\n';
}

TerminalProgress::TerminalProgress(std::ostream& err)
    : m_err(err), m_shown(isatty(STDERR_FILENO)) {}

TerminalProgress::~TerminalProgress() {
  if (m_wrote) m_err << "\r\033[K" << std::flush;
}

void TerminalProgress::RowsRead(std::uint32_t rows) {
  if (!m_shown) return;
  m_err << "\rRows read: " << rows << std::flush;
  m_wrote = true;
}

}  // namespace tallowick::cli
