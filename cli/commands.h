#pragma once
// The commands of tallowick-cli. Each returns the process exit status:
// 0 success, 1 failure (message on `err`), 2 usage error.
#include <ostream>
#include <string>
#include <vector>

namespace tallowick::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

using Words = std::vector<std::string>;

int RunSources(const Words& args, std::ostream& out, std::ostream& err);
int RunTables(const Words& args, std::ostream& out, std::ostream& err);
int RunColumns(const Words& args, std::ostream& out, std::ostream& err);
int RunPreview(const Words& args, std::ostream& out, std::ostream& err);
int RunGenerate(const Words& args, std::ostream& out, std::ostream& err);
int RunView(const Words& args, std::ostream& out, std::ostream& err);
int RunReader(const Words& args, std::ostream& out, std::ostream& err);

// Writes the C reader of the Helper file at `helperPath` into `folder`
// (`prefix` empty: named after the PDB) and says where on `out`.
int WriteReader(const std::string& helperPath, const std::string& prefix, const std::string& folder,
                std::ostream& out, std::ostream& err);

// Dispatches argv[1..] to a command.
int RunCommandLine(const Words& words, std::ostream& out, std::ostream& err);

}  // namespace tallowick::cli
