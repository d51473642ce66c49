#pragma once
// Notices and progress of a long run, on standard error, control
// characters escaped.
#include <cstdint>
#include <ostream>

#include "engine/result_source.h"

namespace tallowick::cli {

class StreamNotices : public NoticeSink {
 public:
  explicit StreamNotices(std::ostream& err) : m_err(err) {}
  void Notice(const std::string& text) override;
  // Another run writes into the same output folder: said once, this run waits.
  void Waiting(const std::string& text) override;

 private:
  std::ostream& m_err;
};

// "Rows read: N" rewritten in place; only when standard error is a terminal.
class TerminalProgress : public ProgressSink {
 public:
  explicit TerminalProgress(std::ostream& err);
  ~TerminalProgress() override;
  void RowsRead(std::uint32_t rows) override;
  ProgressSink* IfShown() { return m_shown ? this : nullptr; }

 private:
  std::ostream& m_err;
  bool m_shown;
  bool m_wrote = false;
};

}  // namespace tallowick::cli
