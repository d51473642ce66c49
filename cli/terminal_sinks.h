#pragma once
// Notices and progress of a long run, on standard error, control
// characters escaped.
#include <cstdint>
#include <ostream>

#include "engine/result_source.h"

namespace tallowick::cli {

// "Rows read: N" rewritten in place; only when standard error is a terminal.
class TerminalProgress : public ProgressSink {
 public:
  explicit TerminalProgress(std::ostream& err);
  // `shown`: whether the line is written at all (a terminal, or a test).
  TerminalProgress(std::ostream& err, bool shown);
  ~TerminalProgress() override;
  void RowsRead(std::uint32_t rows) override;
  ProgressSink* IfShown() { return m_shown ? this : nullptr; }
  // Empties the line, so that what comes next starts at its beginning.
  void Clear();

 private:
  std::ostream& m_err;
  bool m_shown;
  bool m_wrote = false;
};

// Each notice on a line of its own, after the progress line is cleared.
class StreamNotices : public NoticeSink {
 public:
  StreamNotices(std::ostream& err, TerminalProgress& progress) : m_err(err), m_progress(progress) {}
  void Notice(const std::string& text) override;
  // Another run writes into the same output folder: said once, this run waits.
  void Waiting(const std::string& text) override;

 private:
  std::ostream& m_err;
  TerminalProgress& m_progress;
};

}  // namespace tallowick::cli
