#pragma once

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/weakref.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resources/ids.h"
#include "shell/main_panel.h"
#include "shell/my_window.h"
#include "shell/shell_context.h"
#include "shell/tip_status_bar.h"
#include "tests/gui/fakes/fake_beeper.h"
#include "tests/gui/fakes/fake_clipboard.h"
#include "tests/gui/fakes/fake_clock.h"
#include "tests/gui/fakes/fake_launcher.h"
#include "tests/gui/fakes/fake_prompts.h"
#include "tests/gui/uikit/kit_fakes.h"
#include "uikit/grafext/popup.h"
#include "uikit/grafext/zq_list_box.h"

class wxMenu;

namespace lq::test {

namespace fs = std::filesystem;

// A clock that also notes which notice was up while it waited, and what the launcher and
// the clipboard had seen by then.
class NoticeClock : public FakeClock {
 public:
  struct Notice {
    std::string text;
    std::string caption;
    long long ms;
    std::size_t launches_before;
    std::optional<std::string> clipboard_before;
  };
  void BusyWait(long long ms) override;

  std::vector<Notice> notices;
  const FakeLauncher* launcher = nullptr;
  const FakeClipboard* clipboard = nullptr;
};

// Records popup requests instead of running a menu loop; can then "choose" an item, which
// sends its command to the owner as the toolkit's menu would.
class RecordingPresenter : public PopupPresenter {
 public:
  struct Request {
    wxWindow* owner;
    std::string name;
    wxPoint pos;
    std::vector<int> ids;  // the menu's item ids, separators as wxID_SEPARATOR
  };
  void Show(wxWindow* owner, wxMenu& menu, const std::string& name, const wxPoint& pos) override;

  std::vector<Request> shown;
  int choose = 0;  // 0: the user dismisses the menu
};

// What the test saw of a modal dialog it drove.
struct ModalSeen {
  bool seen = false;
  std::string title;
};

// Runs act on the next modal dialog once its loop runs. If act leaves it open, the dialog is
// cancelled and the test fails, so a broken dialog never hangs the run.
std::shared_ptr<ModalSeen> WhenModal(std::function<void(wxDialog&)> act);
// Sends the button's click, as the toolkit does when the user presses it.
void PressButton(wxWindow* parent, int id);

class ShellTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:  // table-driven steps call the helpers from lambdas
  // Builds the real frame; settings and templates written before are read.
  void Start(const std::string& pending_file = {});
  // Builds the frame as the program's start does, the rest of its set-up waiting for the
  // first paint, and shows it if asked; nothing is handled yet.
  void StartAsTheProgram(bool show = true);
  TMyWindow* frame() const { return frame_.get(); }
  MainPanel* dlg() const { return frame_ ? frame_->client() : nullptr; }
  TTipStatusBar* status() const { return frame_ ? frame_->status_bar() : nullptr; }
  bool FrameGone();  // after the pending deletion ran

  fs::path SettingsFile() const { return config_ / "loomquill" / "ZQIni.ini"; }
  std::string DefaultOutput() const { return (home_ / "Schreibtisch" / "ZQScript.txt").string(); }
  // Writes the settings file: the section line, then body.
  void WriteSettings(const std::string& body);
  // The section's keys in file order.
  std::vector<std::pair<std::string, std::string>> SettingsKeys() const;
  std::optional<std::string> SettingsValue(const std::string& key) const;
  // A file of the program folder (templates, help), folders made as needed.
  void WriteProgramFile(const std::string& relative, const std::string& text);
  // The user's own template folder; the window makes it on demand.
  fs::path UserTemplates() const { return root_ / "data" / "loomquill" / "templates"; }

  // The user's ways in.
  void Command(int id);      // menu bar or F1 accelerator: a menu command at the frame
  void ToolCommand(int id);  // a tool-bar button
  void Click(int id);        // a push button of the main dialog
  void Type(int id, const std::string& text);  // into an edit, line breaks as GTK holds them
  void ChooseRadio(int id);
  void SetCheck(int id, bool on);
  // A click on a list item, scrolled into view first, with Shift or Ctrl held as asked;
  // index -1 Ctrl+clicks every selected item, leaving none selected.
  void SelectItem(int index, int modifiers = 0);
  // A key pressed in the list, with wxMOD_SHIFT or wxMOD_CONTROL as asked.
  void ListKey(int key,
               int modifiers = 0);  // Writes a list file of names and opens it through Open list.
  void OpenListOf(const std::vector<std::string>& names);
  // Sets the output file through the OutFile button.
  void SetOutput(const std::string& name);
  void MainText(int command, const std::string& typed, bool ok);  // Set main head/queue

  std::string Field(int id) const;
  std::string Counter() const { return Field(ids::kCounter); }
  std::vector<std::string> Items() const;
  TZQListBox* ListBox() const;
  // The items the list shows selected, in order.
  std::vector<int> SelectedItems() const;
  bool IsChecked(int id) const;
  std::string Src(const std::string& name) const { return (work_ / "src" / name).string(); }

  NoticeClock clock_;
  FakeClipboard clipboard_;
  FakeLauncher launcher_;
  FakePrompts prompts_;
  FakeBeeper beeper_;
  RecordingPresenter presenter_;
  KitFakes kit_{clock_};  // the time is clock_'s, popups go to presenter_
  ShellContext context_;
  fs::path root_, home_, config_, program_, work_;
  wxWeakRef<TMyWindow> frame_;
};

std::string ReadAll(const fs::path& file);
void WriteAll(const fs::path& file, const std::string& text);
void Yield();
// Runs the event loop until done, or false after timeout_ms.
bool PumpFor(const std::function<bool()>& done, int timeout_ms = 5000);

}  // namespace lq::test
