#include "cli/terminal_sinks.h"

#include "cli/terminal_text.h"
#include "platform/terminal.h"

namespace tallowick::cli {

void StreamNotices::Notice(const std::string& text) {
  m_progress.Clear();
  m_err << "tallowick-cli: " << TerminalMessage(text) << '\n';
}

void StreamNotices::Waiting(const std::string& text) {
  m_progress.Clear();
  m_err << "tallowick-cli: " << TerminalMessage(text) << '\n';
}

TerminalProgress::TerminalProgress(std::ostream& err)
    : TerminalProgress(err, platform::IsTerminal(platform::StandardStream::Error)) {}

TerminalProgress::TerminalProgress(std::ostream& err, bool shown) : m_err(err), m_shown(shown) {}

TerminalProgress::~TerminalProgress() { Clear(); }

void TerminalProgress::Clear() {
  if (!m_wrote) return;
  m_err << "\r\033[K" << std::flush;
  m_wrote = false;
}

void TerminalProgress::RowsRead(std::uint32_t rows) {
  if (!m_shown) return;
  m_err << "\rRows read: " << rows << std::flush;
  m_wrote = true;
}

}  // namespace tallowick::cli
