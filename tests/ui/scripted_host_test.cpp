// Pages and dialogs on the scripted host: templates built in memory, clicks and
// typing routed through OnCommand and the message map, dialogs answered from a
// script, and everything shown read back.
#include "ui/testing/scripted_host.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "resources/dialog_templates.h"
#include "resources/resource_ids.h"
#include "ui/dialog.h"
#include "ui/list_view_table.h"
#include "ui/property_page.h"

namespace tallowick {
namespace {

namespace g = res::generator;

// A page on the generator template with an enabling rule run before routing.
class ProbePage : public PropertyPage {
 public:
  ProbePage();

  bool OnInitDialog() override {
    PropertyPage::OnInitDialog();
    GetEdit(g::kPdbName).SetLimitText(31);
    GetEdit(g::kCreator).SetLimitText(4);
    GetEdit(g::kCreator).SetText("HWRP");  // a TextChange reaches OnCommand
    GetButton(g::kBrowse).SetFocus();
    return true;
  }

  bool OnCommand(int id, Notification code) override {
    commands.push_back(id);
    for (int ruled : {g::kQuery, g::kFetch, g::kGenerate}) GetItem(ruled).Enable(connected);
    return PropertyPage::OnCommand(id, code);
  }

  void OnBrowse() {
    FileDialogOptions options;
    options.filter = "Microsoft Access Database(*.mdb)|*.mdb||";
    options.defaultExtension = "mdb";
    auto path = GetHost().ChooseFile(options);
    if (!path) return;
    GetComboBox(g::kDataSource).SetText(*path);
    connected = true;
    GetHost().ShowMessage("Database connected...", "Tallowick", MessageIcon::Information);
  }
  void OnFetch() {
    auto wait = GetHost().ShowWaitWindow(res::DialogTemplateOf(res::kWaitDialog));
    auto table = std::make_shared<ListViewTable>();
    table->AddColumn("Name");
    table->AddRow({"Alice"});
    GetListView(g::kPreviewList).SetModel(table);
  }
  void OnSelectTable() { selectedTables = GetListBox(g::kTableList).GetSelectedIndices(); }
  void OnSelectSource() {
    source = GetComboBox(g::kDataSource).GetEntry(GetComboBox(g::kDataSource).GetCurSel());
  }

  bool connected = false;
  std::vector<int> commands;
  std::vector<int> selectedTables;
  std::string source;

 private:
  static const MessageEntry<ProbePage> kMap[];
};

const MessageEntry<ProbePage> ProbePage::kMap[] = {
    {g::kBrowse, Notification::Clicked, &ProbePage::OnBrowse},
    {g::kFetch, Notification::Clicked, &ProbePage::OnFetch},
    {g::kTableList, Notification::SelectionChange, &ProbePage::OnSelectTable},
    {g::kDataSource, Notification::SelectionChange, &ProbePage::OnSelectSource},
};

ProbePage::ProbePage() : PropertyPage(res::DialogTemplateOf(res::kGeneratorPage)) {
  SetMessageMap(MessageMap(this, kMap));
}

TEST(ScriptedPage, BuildsTheTemplateAndRunsTheRuleBeforeRouting) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  EXPECT_TRUE(page.IsCreated());
  EXPECT_EQ(w.Text(g::kGenerate), "&Generate");
  EXPECT_EQ(w.Kind(g::kPreviewList), ControlKind::ListView);
  EXPECT_FALSE(w.IsVisible(g::kViewLog));  // hidden by its template style
  EXPECT_TRUE(w.IsVisible(g::kGenerate));
  EXPECT_EQ(w.Focused(), g::kBrowse);
  // Setting the creator's text at start-up already ran the rule.
  EXPECT_EQ(page.commands, std::vector<int>{g::kCreator});
  EXPECT_FALSE(w.IsEnabled(g::kFetch));
  EXPECT_FALSE(w.IsEnabled(g::kQuery));
  EXPECT_TRUE(w.IsEnabled(g::kBrowse));
  EXPECT_THROW(w.Click(g::kFetch), ScriptError);  // a user cannot click a disabled button
  EXPECT_THROW(w.Text(4242), ScriptError);

  host.AnswerFile("/data/orders.mdb");
  w.Click(g::kBrowse);
  EXPECT_EQ(w.Text(g::kDataSource), "/data/orders.mdb");
  // The rule ran before the handler connected: the state follows from the next notification on.
  EXPECT_FALSE(w.IsEnabled(g::kFetch));
  w.Type(g::kPdbName, "Orders");
  EXPECT_TRUE(w.IsEnabled(g::kFetch));
  w.Click(g::kFetch);
  EXPECT_EQ(w.Columns(g::kPreviewList), std::vector<std::string>{"Name"});
  EXPECT_EQ(w.Cell(g::kPreviewList, 0, 0), "Alice");
  EXPECT_EQ(host.Journal(),
            (std::vector<std::string>{"file-dialog", "message: Database connected...", "wait: open",
                                      "wait: close"}));
  EXPECT_EQ(host.WaitWindowsShown(), 1);
  EXPECT_FALSE(host.IsWaitWindowOpen());
  ASSERT_EQ(host.FileDialogs().size(), 1u);
  EXPECT_EQ(host.FileDialogs()[0].defaultExtension, "mdb");
  EXPECT_EQ(host.LastMessage().icon, MessageIcon::Information);
  EXPECT_EQ(host.LastMessage().caption, "Tallowick");
  EXPECT_EQ(host.PendingAnswers(), 0u);
}

TEST(ScriptedPage, TypingIsCutToTheLimitButTextSetByTheProgramIsNot) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  EXPECT_EQ(w.TextLimit(g::kCreator), 4u);
  w.Type(g::kCreator, "ABCDEFG");
  EXPECT_EQ(w.Text(g::kCreator), "ABCD");
  w.Type(g::kCreator, "\xC3\xA8\xC3\xA9\xE6\x97\xA5xyz");
  EXPECT_EQ(w.Text(g::kCreator), "\xC3\xA8\xC3\xA9\xE6\x97\xA5x") << "characters, not bytes";
  const std::string longName(40, 'n');
  page.GetEdit(g::kPdbName).SetText(longName);
  EXPECT_EQ(w.Text(g::kPdbName), longName);
  w.Type(g::kPdbName, longName);
  EXPECT_EQ(w.Text(g::kPdbName), std::string(31, 'n'));
  EXPECT_EQ(w.TextLimit(g::kQuery), 0u);
}

TEST(ScriptedPage, OnlyEditBoxesNotifyChangesMadeByTheProgram) {
  ScriptedHost host;
  ProbePage page;
  host.ShowPage(page);
  page.commands.clear();
  page.GetListBox(g::kTableList).AddString("Orders");
  page.GetListBox(g::kTableList).SetSelected(0);
  page.GetComboBox(g::kDataSource).AddString("Sales");
  page.GetComboBox(g::kDataSource).SetCurSel(0);
  page.GetButton(g::kViewLog).Show();
  EXPECT_TRUE(page.commands.empty());
  page.GetEdit(g::kQuery).SetText("SELECT 1");
  EXPECT_EQ(page.commands, std::vector<int>{g::kQuery});
}

TEST(ScriptedPage, SortedListsOrderWithoutRegardToCaseAndUnsortedKeepOrder) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  ListBox tables = page.GetListBox(g::kTableList);
  for (const char* name : {"orders", "Customers", "Zeta", "alpha", "Beta"}) tables.AddString(name);
  EXPECT_EQ(w.Entries(g::kTableList),
            (std::vector<std::string>{"alpha", "Beta", "Customers", "orders", "Zeta"}));
  EXPECT_EQ(tables.AddString("ORDERS"), 4);  // after the equal entry already there
  ListBox fields = page.GetListBox(g::kAvailableFields);
  for (const char* name : {"Zip", "City", "Name"}) fields.AddString(name);
  EXPECT_EQ(fields.GetEntries(), (std::vector<std::string>{"Zip", "City", "Name"}));
  EXPECT_EQ(fields.FindExact("city"), 1);
  EXPECT_EQ(fields.FindExact("Cit"), -1);
  fields.DeleteString(0);
  EXPECT_EQ(w.Entries(g::kAvailableFields), (std::vector<std::string>{"City", "Name"}));
  EXPECT_THROW(fields.DeleteString(5), ScriptError);
}

TEST(ScriptedPage, ExtendedSelectionReachesTheHandler) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  for (const char* name : {"A", "B", "C", "D"}) page.GetListBox(g::kTableList).AddString(name);
  w.SelectMany(g::kTableList, {3, 1});
  EXPECT_EQ(page.selectedTables, (std::vector<int>{1, 3}));
  EXPECT_EQ(w.Selection(g::kTableList), (std::vector<int>{1, 3}));
  w.Select(g::kTableList, "C");
  EXPECT_EQ(page.selectedTables, std::vector<int>{2});
  w.ClearSelection(g::kTableList);
  EXPECT_TRUE(page.selectedTables.empty());
  EXPECT_THROW(w.Select(g::kTableList, "missing"), ScriptError);
}

TEST(ScriptedPage, ComboBoxSelectionPutsTheEntryIntoItsEditField) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  ComboBox sources = page.GetComboBox(g::kDataSource);
  for (const char* name : {"Sales", "northwind", "Archive"}) sources.AddString(name);
  EXPECT_EQ(w.Entries(g::kDataSource), (std::vector<std::string>{"Archive", "northwind", "Sales"}));
  EXPECT_EQ(sources.GetCurSel(), -1);
  w.Select(g::kDataSource, 2);
  EXPECT_EQ(page.source, "Sales");
  EXPECT_EQ(w.Text(g::kDataSource), "Sales");
  EXPECT_EQ(sources.GetCurSel(), 2);
  w.Type(g::kDataSource, "/data/x.mdb");
  EXPECT_EQ(page.commands.back(), g::kDataSource);
}

TEST(ScriptedPage, ListViewShowsItsModelAfterRefreshOnly) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  EXPECT_EQ(w.RowCount(g::kPreviewList), 0u);
  auto table = std::make_shared<ListViewTable>();
  table->AddColumn("ID");
  table->AddRow({"1"});
  ListView list = page.GetListView(g::kPreviewList);
  list.SetModel(table);
  table->AddRow({"2"});
  table->AddColumn("Name");
  EXPECT_EQ(w.RowCount(g::kPreviewList), 1u);  // not told yet
  EXPECT_EQ(w.Columns(g::kPreviewList).size(), 1u);
  list.Refresh();
  EXPECT_EQ(w.Rows(g::kPreviewList), (std::vector<std::vector<std::string>>{{"1", ""}, {"2", ""}}));
  EXPECT_EQ(list.GetColumnHeading(1), "Name");
  list.Clear();
  EXPECT_EQ(w.RowCount(g::kPreviewList), 0u);
  EXPECT_TRUE(w.Columns(g::kPreviewList).empty());
  EXPECT_THROW(w.Cell(g::kPreviewList, 0, 0), ScriptError);
}

// Rows computed on demand: nothing is stored per row.
class SquaresModel : public ListViewModel {
 public:
  SquaresModel() {
    for (int c = 0; c < 8; ++c)
      m_columns.push_back({std::string("C").append(std::to_string(c)), 75, ColumnAlign::Left});
  }
  std::size_t ColumnCount() const override { return m_columns.size(); }
  const ListViewColumn& Column(std::size_t column) const override { return m_columns.at(column); }
  std::size_t RowCount() const override { return 65535; }
  std::string Text(std::size_t row, std::size_t column) const override {
    return std::to_string(row * row + column);
  }

 private:
  std::vector<ListViewColumn> m_columns;
};

TEST(ScriptedPage, AModelOf65535RowsShowsAtOnce) {
  ScriptedHost host;
  ProbePage page;
  ScriptedWindow& w = host.ShowPage(page);
  const auto start = std::chrono::steady_clock::now();
  page.GetListView(g::kPreviewList).SetModel(std::make_shared<SquaresModel>());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
  EXPECT_EQ(w.RowCount(g::kPreviewList), 65535u);
  EXPECT_EQ(w.Cell(g::kPreviewList, 65534, 7), std::to_string(65534ull * 65534ull + 7));
}

TEST(ScriptedPage, ReachingAControlOfTheWrongKindIsAProgrammingFault) {
  ScriptedHost host;
  ProbePage page;
  EXPECT_THROW(page.GetEdit(g::kQuery), std::logic_error);  // not created yet
  host.ShowPage(page);
  EXPECT_THROW(page.GetListBox(g::kQuery), std::logic_error);
  EXPECT_THROW(page.GetEdit(9999), std::logic_error);
  EXPECT_NO_THROW(page.GetItem(g::kQuery).Enable(false));
}

TEST(ScriptedPage, APageDestroyedBeforeItsHostLeavesNoDanglingWindow) {
  ScriptedHost host;
  ScriptedWindow* window = nullptr;
  {
    ProbePage page;
    window = &host.ShowPage(page);
  }
  EXPECT_EQ(window->Owner(), nullptr);
  EXPECT_NO_THROW(window->Type(g::kPdbName, "x"));  // nobody to notify, nothing breaks
}

// --- message boxes, file and folder dialogs ---

TEST(ScriptedHostDialogs, MessageBoxesAreRecordedAndChoicesAnsweredFromTheScript) {
  ScriptedHost host;
  EXPECT_EQ(
      host.ShowMessage("Invalid PDB Name", "Tallowick", MessageIcon::Stop, MessageButtons::Ok),
      kIdOk);
  host.AnswerMessage(kIdNo);
  EXPECT_EQ(host.ShowMessage("Abort?", "setup", MessageIcon::Stop, MessageButtons::YesNo), kIdNo);
  ASSERT_EQ(host.Messages().size(), 2u);
  EXPECT_EQ(host.Messages()[0].text, "Invalid PDB Name");
  EXPECT_EQ(host.Messages()[0].icon, MessageIcon::Stop);
  EXPECT_EQ(host.Messages()[1].buttons, MessageButtons::YesNo);
  EXPECT_EQ(host.Messages()[1].answer, kIdNo);
  // A question without a scripted answer, or with an answer it does not offer, is a script fault.
  EXPECT_THROW(host.ShowMessage("Abort?", "setup", MessageIcon::Stop, MessageButtons::YesNo),
               ScriptError);
  host.AnswerMessage(kIdOk);
  EXPECT_THROW(host.ShowMessage("Abort?", "setup", MessageIcon::Stop, MessageButtons::YesNo),
               ScriptError);
  EXPECT_EQ(host.Messages().size(), 4u);
}

TEST(ScriptedHostDialogs, FileAndFolderAnswersAreUsedInOrder) {
  ScriptedHost host;
  host.AnswerFile("/a.mdb");
  host.CancelFile();
  host.AnswerFolder("/out");
  host.CancelFolder();
  EXPECT_EQ(host.PendingAnswers(), 4u);
  FileDialogOptions options;
  options.filter = "Palm Database(*.pdb)|*.pdb||";
  options.defaultExtension = "pdb";
  options.initialName = "Orders.pdb";
  EXPECT_EQ(host.ChooseFile(options), "/a.mdb");
  EXPECT_EQ(host.ChooseFile(options), std::nullopt);
  EXPECT_THROW(host.ChooseFile(options), ScriptError);
  EXPECT_EQ(host.ChooseFolder("Select o/p Path"), "/out");
  EXPECT_EQ(host.ChooseFolder("Select o/p Path"), std::nullopt);
  EXPECT_THROW(host.ChooseFolder("Select o/p Path"), ScriptError);
  EXPECT_EQ(host.FileDialogs().size(), 3u);
  EXPECT_EQ(host.FileDialogs()[0].initialName, "Orders.pdb");
  EXPECT_EQ(host.FolderDialogs().front(), "Select o/p Path");
  EXPECT_TRUE(host.OpenWithDesktop("/out/TallowickLog.txt"));
  host.SetOpenResult(false);
  EXPECT_FALSE(host.OpenWithDesktop("/x"));
  EXPECT_EQ(host.OpenedPaths(), (std::vector<std::string>{"/out/TallowickLog.txt", "/x"}));
}

// --- modal dialogs ---

class ProbeLogin : public Dialog {
 public:
  ProbeLogin() : Dialog(res::DialogTemplateOf(res::kLoginDialog)) {}
  void DoDataExchange(DataExchange& dx) override {
    dx.Text(res::login::kUserName, userName);
    dx.Text(res::login::kPassword, password);
  }
  std::string userName;
  std::string password;
};

TEST(ScriptedModalDialog, OkSavesTheBoxesIntoTheMembers) {
  ScriptedHost host;
  ProbeLogin login;
  login.userName = "preset";
  host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow& d) {
    EXPECT_EQ(d.Text(res::login::kUserName), "preset");  // loaded at start-up
    d.Type(res::login::kUserName, "sa");
    d.Type(res::login::kPassword, "secret");
    d.Click(kIdOk);
  });
  EXPECT_EQ(login.DoModal(host), kIdOk);
  EXPECT_EQ(login.userName, "sa");
  EXPECT_EQ(login.password, "secret");
  EXPECT_FALSE(login.IsCreated());  // the window is gone after the run
  EXPECT_EQ(host.ModalDialogsRun(), std::vector<int>{res::kLoginDialog});
}

TEST(ScriptedModalDialog, CancelAndEscapeKeepTheMembers) {
  ScriptedHost host;
  ProbeLogin login;
  host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow& d) {
    d.Type(res::login::kUserName, "sa");
    d.Click(kIdCancel);
  });
  host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow& d) {
    d.Type(res::login::kUserName, "sa");
    d.PressEscape();
    EXPECT_THROW(d.Click(kIdOk), ScriptError);  // ended already
  });
  EXPECT_EQ(login.DoModal(host), kIdCancel);
  EXPECT_EQ(login.DoModal(host), kIdCancel);
  EXPECT_EQ(login.userName, "");
}

TEST(ScriptedModalDialog, ScriptsThatDoNotFitAreReported) {
  ScriptedHost host;
  ProbeLogin login;
  EXPECT_THROW(login.DoModal(host), ScriptError);  // no script
  host.AnswerDialog(res::kDestinationDialog, [](ScriptedWindow& d) { d.Click(kIdOk); });
  EXPECT_THROW(login.DoModal(host), ScriptError);  // script for another dialog
  host.AnswerDialog(res::kLoginDialog, [](ScriptedWindow&) {});
  EXPECT_THROW(login.DoModal(host), ScriptError);  // left open
  EXPECT_FALSE(login.IsCreated());
}

// A dialog with an end code of its own and a question before cancelling.
class ProbeDestination : public Dialog {
 public:
  ProbeDestination();
  void OnBack() { EndDialog(res::destination::kBack); }
  void OnCancel() override {
    if (GetHost().ShowMessage("Do you want abort Tallowick installation setup", "tallowick-setup",
                              MessageIcon::Stop, MessageButtons::YesNo) == kIdYes) {
      Dialog::OnCancel();
    }
  }

 private:
  static const MessageEntry<ProbeDestination> kMap[];
};

const MessageEntry<ProbeDestination> ProbeDestination::kMap[] = {
    {res::destination::kBack, Notification::Clicked, &ProbeDestination::OnBack},
};

ProbeDestination::ProbeDestination() : Dialog(res::DialogTemplateOf(res::kDestinationDialog)) {
  SetMessageMap(MessageMap(this, kMap));
}

TEST(ScriptedModalDialog, OwnEndCodesAndOverriddenCancel) {
  ScriptedHost host;
  ProbeDestination destination;
  host.AnswerDialog(res::kDestinationDialog,
                    [](ScriptedWindow& d) { d.Click(res::destination::kBack); });
  EXPECT_EQ(destination.DoModal(host), res::destination::kBack);

  ScriptedWindow& open = host.OpenDialog(destination);
  EXPECT_EQ(open.Text(res::destination::kFolder), "/opt/Tallowick");
  host.AnswerMessage(kIdNo);
  open.PressEscape();
  EXPECT_FALSE(open.IsEnded());
  host.AnswerMessage(kIdYes);
  open.Click(kIdCancel);
  EXPECT_TRUE(open.IsEnded());
  EXPECT_EQ(open.Result(), kIdCancel);
  EXPECT_EQ(host.Messages().size(), 2u);
}

}  // namespace
}  // namespace tallowick
