#pragma once
// The checks of a smoke run of a real program: each check's outcome as a
// line, and a last line counting them, written to a report file.
#include <fstream>
#include <string>
#include <vector>

namespace tallowick {

class SmokeReport {
 public:
  void Check(bool held, const std::string& what) {
    m_lines.push_back(std::string(held ? "ok: " : "FAIL: ") + what);
    held ? ++m_passed : ++m_failed;
  }
  bool Write(const std::string& path) const {
    std::ofstream out(path);
    for (const auto& line : m_lines) out << line << '\n';
    out << "smoke: " << m_passed << " checks held, " << m_failed << " failed\n";
    return static_cast<bool>(out);
  }
  bool AllHeld() const { return m_failed == 0 && m_passed > 0; }

 private:
  std::vector<std::string> m_lines;
  int m_passed = 0;
  int m_failed = 0;
};

}  // namespace tallowick
