#include "ui/testing/scripted_sheet.h"

#include <string>

#include "ui/property_page.h"
#include "ui/standard_ids.h"
#include "ui/testing/script_error.h"
#include "ui/testing/scripted_control.h"

namespace tallowick {
namespace {

ControlTemplate SheetButton(int id, const char* text) {
  ControlTemplate button;
  button.id = id;
  button.kind = ControlKind::PushButton;
  button.text = text;
  return button;
}

}  // namespace

ScriptedSheet::ScriptedSheet(PropertySheet& owner,
                             std::vector<std::unique_ptr<ScriptedWindow>> pages)
    : m_owner(&owner), m_caption(owner.Caption()), m_pages(std::move(pages)) {
  m_buttons.push_back(std::make_unique<ScriptedControl>(SheetButton(kIdOk, "OK"), nullptr));
  m_buttons.push_back(std::make_unique<ScriptedControl>(SheetButton(kIdCancel, "Cancel"), nullptr));
  if (owner.HasHelp())
    m_buttons.push_back(std::make_unique<ScriptedControl>(SheetButton(kIdHelp, "Help"), nullptr));
}

ScriptedSheet::~ScriptedSheet() {
  m_pages.clear();  // detaches the pages
  if (m_owner != nullptr) m_owner->DetachPeer();
}

int ScriptedSheet::IconId() const { return m_owner != nullptr ? m_owner->IconId() : 0; }

std::vector<std::string> ScriptedSheet::TabTitles() const {
  std::vector<std::string> titles;
  for (const auto& page : m_pages) {
    auto* owner = dynamic_cast<PropertyPage*>(page->Owner());
    titles.push_back(owner != nullptr ? owner->Caption() : page->Template().caption);
  }
  return titles;
}

void ScriptedSheet::SelectTab(int index) {
  if (m_ended) throw ScriptError("SelectTab on a sheet that has ended");
  SetActivePage(index);
}

ScriptedWindow& ScriptedSheet::Page(int index) const {
  if (index < 0 || index >= static_cast<int>(m_pages.size())) {
    throw ScriptError("the sheet has no page " + std::to_string(index));
  }
  return *m_pages[static_cast<std::size_t>(index)];
}

bool ScriptedSheet::HasButton(int id) const {
  for (const auto& button : m_buttons) {
    if (button->Id() == id) return true;
  }
  return false;
}

ControlPeer* ScriptedSheet::FindControl(int id) {
  for (const auto& button : m_buttons) {
    if (button->Id() == id) return button.get();
  }
  return nullptr;
}

std::string ScriptedSheet::ButtonText(int id) const {
  for (const auto& button : m_buttons) {
    if (button->Id() == id) return button->GetText();
  }
  throw ScriptError("the sheet has no button " + std::to_string(id));
}

bool ScriptedSheet::IsButtonVisible(int id) const {
  for (const auto& button : m_buttons) {
    if (button->Id() == id) return button->IsVisible();
  }
  return false;
}

std::vector<std::string> ScriptedSheet::VisibleButtons() const {
  std::vector<std::string> texts;
  for (const auto& button : m_buttons) {
    if (button->IsVisible()) texts.push_back(button->GetText());
  }
  return texts;
}

void ScriptedSheet::Click(int id) {
  if (m_ended) throw ScriptError("Click on a sheet that has ended");
  auto* button = dynamic_cast<ScriptedControl*>(FindControl(id));
  if (button == nullptr) throw ScriptError("the sheet has no button " + std::to_string(id));
  if (!button->IsVisible() || !button->IsEnabled()) {
    throw ScriptError("Click on sheet button " + std::to_string(id) + ", which is " +
                      (button->IsVisible() ? "disabled" : "hidden"));
  }
  if (m_owner != nullptr) m_owner->SendButton(id);
}

void ScriptedSheet::PressF1() {
  if (m_ended) throw ScriptError("F1 on a sheet that has ended");
  if (m_owner != nullptr && m_owner->HasHelp()) m_owner->OnHelpInfo();
}

void ScriptedSheet::Close() {
  if (m_ended) throw ScriptError("Close on a sheet that has ended");
  if (m_owner != nullptr) m_owner->OnCancel();
}

void ScriptedSheet::EndModal(int result) {
  m_ended = true;
  m_result = result;
}

void ScriptedSheet::SetActivePage(int index) {
  if (index < 0 || index >= static_cast<int>(m_pages.size())) {
    throw ScriptError("the sheet has no page " + std::to_string(index));
  }
  m_active = index;
}

}  // namespace tallowick
