#include "tests/gui/shell/shell_fixture.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "resources/resources.h"
#include "shell/main_panel.h"
#include "uikit/exten/zq_mex.h"
#include "uikit/grafext/controls.h"

namespace lq::test {
namespace {

// Everything the run could write under HOME or the XDG folders lands in one temporary
// folder, set before the toolkit starts.
struct ProcessHome {
  ProcessHome() {
    std::string pattern = (fs::temp_directory_path() / "lq-shell-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root = pattern;
    // A Wayland session's socket is named relative to XDG_RUNTIME_DIR, which moves here.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (wayland != nullptr && *wayland != '/' && runtime != nullptr) {
      setenv("WAYLAND_DISPLAY", (fs::path(runtime) / wayland).c_str(), 1);
    }
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                             "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
      const fs::path dir = root / name;
      fs::create_directories(dir);
      fs::permissions(dir, fs::perms::owner_all);
      setenv(name, dir.c_str(), 1);
    }
    unsetenv("XDG_DESKTOP_DIR");
  }
  ~ProcessHome() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  fs::path root;
};

ProcessHome g_process_home;

// Finds the dialog running modally now, if any.
wxDialog* ModalDialog() {
  for (wxWindow* window : wxTopLevelWindows) {
    auto* dialog = dynamic_cast<wxDialog*>(window);
    if (dialog != nullptr && dialog->IsModal()) return dialog;
  }
  return nullptr;
}

void DriveModal(std::function<void(wxDialog&)> act, std::shared_ptr<ModalSeen> seen, int tries) {
  wxDialog* dialog = ModalDialog();
  if (dialog == nullptr) {
    if (tries > 0) {
      wxTheApp->CallAfter([act, seen, tries] { DriveModal(act, seen, tries - 1); });
    }
    return;
  }
  seen->seen = true;
  seen->title = dialog->GetTitle().utf8_string();
  act(*dialog);
  wxWeakRef<wxDialog> left(dialog);
  wxTheApp->CallAfter([left] {
    if (left && left->IsModal()) {
      ADD_FAILURE() << "the dialog stayed open; cancelling it";
      left->EndModal(wxID_CANCEL);
    }
  });
}

}  // namespace

void NoticeClock::BusyWait(long long ms) {
  Notice notice{"", "", ms, launcher ? launcher->calls.size() : 0,
                clipboard ? clipboard->text : std::nullopt};
  if (TZQMex* mex = CurrentMex()) {
    notice.text = mex->text();
    notice.caption = mex->GetTitle().utf8_string();
  }
  notices.push_back(notice);
  FakeClock::BusyWait(ms);
}

void RecordingPresenter::Show(wxWindow* owner, wxMenu& menu, const std::string& name,
                              const wxPoint& pos) {
  Request request{owner, name, pos, {}};
  for (wxMenuItem* item : menu.GetMenuItems()) request.ids.push_back(item->GetId());
  shown.push_back(request);
  if (choose == 0) return;
  ASSERT_NE(menu.FindItem(choose), nullptr) << "no item " << choose << " in " << name;
  wxCommandEvent event(wxEVT_MENU, choose);
  event.SetEventObject(&menu);
  owner->ProcessWindowEvent(event);
}

std::shared_ptr<ModalSeen> WhenModal(std::function<void(wxDialog&)> act) {
  auto seen = std::make_shared<ModalSeen>();
  wxTheApp->CallAfter([act, seen] { DriveModal(act, seen, 20); });
  return seen;
}

void PressButton(wxWindow* parent, int id) {
  wxWindow* button = parent->FindWindow(id);
  ASSERT_NE(button, nullptr) << "no button " << id;
  wxCommandEvent event(wxEVT_BUTTON, id);
  event.SetEventObject(button);
  button->ProcessWindowEvent(event);
}

void Yield() {
  for (int i = 0; i < 5; ++i) {
    wxTheApp->Yield(true);
    wxTheApp->ProcessIdle();
  }
}

bool PumpFor(const std::function<bool()>& done, int timeout_ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Yield();
    wxMilliSleep(5);
  }
  return true;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& file, const std::string& text) {
  if (file.has_parent_path()) fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << text;
}

void ShellTest::SetUp() {
  InitResources();
  wxTheApp->SetExitOnFrameDelete(false);
  root_ = g_process_home.root / testing::UnitTest::GetInstance()->current_test_info()->name();
  fs::remove_all(root_);
  home_ = root_ / "home";
  config_ = root_ / "config";
  program_ = root_ / "program";
  work_ = root_ / "work";
  for (const fs::path& dir :
       {home_, home_ / "Schreibtisch", config_, program_, work_ / "src", work_ / "out"}) {
    fs::create_directories(dir);
  }
  setenv("HOME", home_.c_str(), 1);
  setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  // The desktop the way xdg-user-dirs names it, so the default output follows it.
  WriteAll(config_ / "user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");

  clock_.launcher = &launcher_;
  clock_.clipboard = &clipboard_;
  context_.services = {&clipboard_, &launcher_, &prompts_, &beeper_};
  context_.settings_file = SettingsFile();
  context_.program_folder = program_.string() + "/";
  context_.user_templates = UserTemplates();
  kit_.UseFakeClock();
  kit_.UsePopups(&presenter_);
}

void ShellTest::TearDown() {
  if (frame_) frame_->Destroy();
  Yield();
  EXPECT_FALSE(frame_) << "the frame outlived the test";
  EXPECT_EQ(CurrentMex(), nullptr) << "a notice stayed up";
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void ShellTest::Start(const std::string& pending_file) {
  auto* frame = new TMyWindow(context_, pending_file);
  frame_ = frame;
  frame->Show();
  Yield();
}

void ShellTest::StartAsTheProgram(bool show) {
  auto* frame = new TMyWindow(context_, {}, SetupRest::kAfterFirstPaint);
  frame_ = frame;
  if (show) frame->Show();
}

bool ShellTest::FrameGone() {
  Yield();
  return !frame_;
}

void ShellTest::WriteSettings(const std::string& body) {
  WriteAll(SettingsFile(), "[Loomquill]\n" + body);
}

std::vector<std::pair<std::string, std::string>> ShellTest::SettingsKeys() const {
  std::vector<std::pair<std::string, std::string>> keys;
  std::istringstream in(ReadAll(SettingsFile()));
  std::string line;
  bool inside = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('[')) {
      inside = line == "[Loomquill]";
      continue;
    }
    const std::size_t eq = line.find('=');
    if (inside && eq != std::string::npos)
      keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return keys;
}

std::optional<std::string> ShellTest::SettingsValue(const std::string& key) const {
  for (const auto& [name, value] : SettingsKeys()) {
    if (name == key) return value;
  }
  return std::nullopt;
}

void ShellTest::WriteProgramFile(const std::string& relative, const std::string& text) {
  WriteAll(program_ / relative, text);
}

void ShellTest::Command(int id) {
  ASSERT_TRUE(frame_);
  wxCommandEvent event(wxEVT_MENU, id);
  event.SetEventObject(frame_.get());
  frame_->HandleWindowEvent(event);
}

void ShellTest::ToolCommand(int id) {
  ASSERT_TRUE(frame_);
  wxToolBar* bar = frame_->GetToolBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(bar->FindById(id), nullptr) << "no tool " << id;
  wxCommandEvent event(wxEVT_TOOL, id);
  event.SetEventObject(bar);
  bar->HandleWindowEvent(event);
}

void ShellTest::Click(int id) {
  ASSERT_NE(dynamic_cast<wxButton*>(dlg()->FindWindow(id)), nullptr) << "no button " << id;
  PressButton(dlg(), id);
}

void ShellTest::Type(int id, const std::string& text) {
  auto* edit = dynamic_cast<TZQEditCursor*>(dlg()->FindWindow(id));
  ASSERT_NE(edit, nullptr) << "no edit " << id;
  edit->SetFocus();
  edit->SetValue(wxString::FromUTF8(text));
}

void ShellTest::ChooseRadio(int id) {
  auto* radio = dynamic_cast<wxRadioButton*>(dlg()->FindWindow(id));
  ASSERT_NE(radio, nullptr) << "no radio " << id;
  radio->SetValue(true);
  wxCommandEvent event(wxEVT_RADIOBUTTON, id);
  event.SetEventObject(radio);
  event.SetInt(1);
  radio->ProcessWindowEvent(event);
}

void ShellTest::SetCheck(int id, bool on) {
  auto* check = dynamic_cast<wxCheckBox*>(dlg()->FindWindow(id));
  ASSERT_NE(check, nullptr) << "no check box " << id;
  check->SetValue(on);
  wxCommandEvent event(wxEVT_CHECKBOX, id);
  event.SetEventObject(check);
  event.SetInt(on ? 1 : 0);
  check->ProcessWindowEvent(event);
}

void ShellTest::SelectItem(int index, int modifiers) {
  TZQListBox* list = ListBox();
  ASSERT_NE(list, nullptr);
  if (index < 0) {  // the user clears the selection: Ctrl+click on every selected item
    for (int selected : SelectedItems()) SelectItem(selected, wxMOD_CONTROL);
    return;
  }
  ASSERT_LT(index, list->RowCount());
  list->ShowItem(index);
  const wxRect row = list->ItemRect(index);
  ASSERT_EQ(list->HitTest(row.GetTopLeft() + wxPoint(5, row.height / 2)), index);
  for (wxEventType type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
    wxMouseEvent event(type);
    event.SetPosition(row.GetTopLeft() + wxPoint(5, row.height / 2));
    event.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
    event.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    event.SetEventObject(list);
    list->ProcessWindowEvent(event);
  }
}

void ShellTest::ListKey(int key, int modifiers) {
  TZQListBox* list = ListBox();
  ASSERT_NE(list, nullptr);
  wxKeyEvent event(wxEVT_KEY_DOWN);
  event.m_keyCode = key;
  event.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
  event.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
  event.SetAltDown((modifiers & wxMOD_ALT) != 0);
  event.SetEventObject(list);
  list->ProcessWindowEvent(event);
}

void ShellTest::OpenListOf(const std::vector<std::string>& names) {
  static int count = 0;
  const fs::path file = work_ / ("names" + std::to_string(++count) + ".lst");
  std::string text;
  for (const std::string& name : names) text += name + "\n";
  WriteAll(file, text);
  prompts_.file_answers.push_back(file.string());
  Command(ids::kOpenList);
}

void ShellTest::SetOutput(const std::string& name) {
  prompts_.file_answers.push_back(name);
  Click(ids::kSetOutputFile);
}

void ShellTest::MainText(int command, const std::string& typed, bool ok) {
  auto seen = WhenModal([typed, ok](wxDialog& dialog) {
    auto* edit = dynamic_cast<TZQEditCursor*>(dialog.FindWindow(ids::kInputEdit));
    ASSERT_NE(edit, nullptr);
    edit->SetValue(wxString::FromUTF8(typed));
    PressButton(&dialog, ok ? wxID_OK : wxID_CANCEL);
  });
  Command(command);
  EXPECT_TRUE(seen->seen);
}

std::string ShellTest::Field(int id) const {
  auto* edit = dynamic_cast<wxTextCtrl*>(dlg()->FindWindow(id));
  return edit != nullptr ? edit->GetValue().utf8_string() : "<no field>";
}

std::vector<std::string> ShellTest::Items() const {
  std::vector<std::string> items;
  if (TZQListBox* list = ListBox()) {
    for (int i = 0; i < list->RowCount(); ++i) items.push_back(list->RowText(i).utf8_string());
  }
  return items;
}

TZQListBox* ShellTest::ListBox() const {
  return dynamic_cast<TZQListBox*>(dlg()->FindWindow(ids::kFileList));
}

std::vector<int> ShellTest::SelectedItems() const {
  std::vector<int> selected;
  if (TZQListBox* list = ListBox()) {
    for (int i = 0; i < list->RowCount(); ++i) {
      if (list->IsItemSelected(i)) selected.push_back(i);
    }
  }
  return selected;
}

bool ShellTest::IsChecked(int id) const {
  wxWindow* window = dlg()->FindWindow(id);
  if (auto* radio = dynamic_cast<wxRadioButton*>(window)) return radio->GetValue();
  if (auto* check = dynamic_cast<wxCheckBox*>(window)) return check->GetValue();
  ADD_FAILURE() << "no radio or check box " << id;
  return false;
}

}  // namespace lq::test
