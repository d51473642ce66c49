#pragma once
// The "PDB Generator" page shown on the scripted host, with the private ODBC
// configuration, a folder for source files and one for generated files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "source/page/make_pdb.h"
#include "tests/support/private_odbc.h"
#include "tests/support/temp_folder.h"
#include "ui/testing/scripted_host.h"

namespace tallowick::testing {

namespace g = res::generator;

class GeneratorPageTest : public OdbcTest {
 protected:
  void SetUp() override { PrivateOdbc::Get().ClearDataSources(); }

  // Shows the page (OnInitDialog runs: the data-source list is read now).
  ScriptedWindow& Show() {
    m_window = &m_host.ShowPage(m_page);
    return *m_window;
  }
  ScriptedWindow& W() { return *m_window; }

  // "&Browse" answered with `path`.
  void Browse(const std::string& path) {
    m_host.AnswerFile(path);
    W().Click(g::kBrowse);
  }
  // Browse to `path` and expect the connection to succeed.
  void Connect(const std::string& path) {
    Browse(path);
    ASSERT_TRUE(m_page.IsConnected())
        << (m_host.Messages().empty() ? "" : m_host.LastMessage().text);
    ASSERT_EQ(m_host.LastMessage().text, "Database connected...");
  }
  // Highlights the tables with these names in the table list.
  void HighlightTables(const std::vector<std::string>& names) {
    const std::vector<std::string> entries = W().Entries(g::kTableList);
    std::vector<int> indices;
    for (const std::string& name : names) {
      for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == name) indices.push_back(static_cast<int>(i));
      }
    }
    ASSERT_EQ(indices.size(), names.size()) << "tables missing from the list";
    W().SelectMany(g::kTableList, indices);
  }
  // The Generate inputs that pass every check.
  void FillGenerateInputs(const std::string& name) {
    W().Type(g::kPdbName, name);
    W().Type(g::kCreator, "TWck");
    W().Type(g::kType, "DATA");
    W().Type(g::kOutputFolder, m_output.Path());
  }
  std::vector<std::string> OutputFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_output.Path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  bool TemporarySourceConfigured() const {
    return PrivateOdbc::Get().UserIniText().find("TempPTallowickDSN") != std::string::npos;
  }

  TempFolder m_data;
  TempFolder m_output;
  ScriptedHost m_host;  // before the page: the page goes first
  MakePDB m_page;
  ScriptedWindow* m_window = nullptr;
};

}  // namespace tallowick::testing
