#pragma once

#include <wx/timer.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/composer.h"
#include "engine/file_list.h"
#include "engine/output.h"
#include "engine/preview.h"
#include "engine/script_settings.h"
#include "persist/template_scan.h"
#include "shell/drop_beeps.h"
#include "shell/panel_host.h"
#include "shell/preview_link.h"
#include "shell/shell_context.h"
#include "uikit/grafext/hint_sink.h"
#include "uikit/grafext/white_center_dlg.h"

namespace lq {

class MainDropsPart;
class MainListPart;
class MainOutputPart;
class MainPreviewPart;
class MainSettingsPart;
class MainTemplatesPart;
class TMyWindow;
class TTipStatusBar;

// When the rest of the main panel's set-up runs: at once, or once the window has first
// been drawn (or has stayed undrawn for MainPanel::kSetupWaitMs), so that a start shows the
// window without waiting for the templates.
enum class SetupRest { kNow, kAfterFirstPaint };

// The main panel, the frame's one client. It owns the script settings record, the file list
// and the waiting file, and the parts that own the controls and their commands: the list, the
// output, the templates, the settings, the drops and the preview. It routes every command to
// its part, taking the controls into the record first for those that need it.
class MainPanel : public TWhiteCenterPanel, public HintSink, private PanelHost {
 public:
  MainPanel(TMyWindow* frame, const wxFont& font, TTipStatusBar* status, ShellContext& context);
  ~MainPanel() override;
  MainPanel(const MainPanel&) = delete;
  MainPanel& operator=(const MainPanel&) = delete;

  static constexpr int kSetupWaitMs = 500;
  // Settings, controls, counter and the Templates menu's own items; then, as rest says, the
  // templates under the "Loading Templates" notice, the preview as it was and any file
  // waiting from the command line.
  void SetupWindow(SetupRest rest = SetupRest::kNow);
  // Whether the rest of the set-up has run.
  bool setup_finished() const { return setup_finished_; }
  // The close's own step: the record as the controls show it, the texts and the preview's
  // place go into the settings file. A failure is reported; the close goes on all the same.
  void SaveOnClose();

  // A file handed over by another start or given on the command line; activation_token is
  // the one the other start was given, if any.
  void ReceiveFile(const std::string& name, const std::string& activation_token = {});
  // Files handed over together (see MainOutputPart::CopyHandedOver).
  void ReceiveFiles(const std::vector<std::string>& names,
                    const std::string& activation_token = {});

  // Files dropped at point (the panel's coordinates): on the list, on a setting control or
  // on Auto Drag. pointer, where the pointer was, decides for the disabled relative-path
  // field; without it the drop point does.
  void HandleDrop(const std::vector<std::string>& names, const wxPoint& point);
  void HandleDrop(const std::vector<std::string>& names, const wxPoint& point,
                  const wxPoint& pointer);

  // The hint for a command or control id: from_menu for menu items, which show no tooltip.
  void MenuItemHint(int id, bool from_menu) override;

  ScriptSettings& settings() override { return settings_; }
  FileList& list() override { return list_; }
  std::string& pending_file() override { return pending_file_; }
  const DropBeeps& drop_beeps() const;
  const TemplatesMenu& templates() const;
  std::string HeaderText() const override;
  std::string QueueText() const override;
  void SetHeaderText(const std::string& text) override;
  void SetQueueText(const std::string& text) override;
  // The list model changed: the list box shows it again.
  void ShowList();
  // The preview window and what keeps it in step.
  PreviewLink& preview();
  // What Create would write now, for the preview: the record as the controls show it.
  Preview ComposePreviewNow();

 private:
  // What the parts ask of the panel.
  wxWindow& window() override { return *this; }
  TMyWindow& frame() override { return *frame_; }
  TTipStatusBar& status() override { return *status_; }
  ShellContext& context() override { return context_; }
  void Report(const Failure& failure) override;
  void Notice(const std::string& text, const std::string& caption, int ms) override;
  void CopyText(const std::string& text) override;
  void CopyOrReport(const Result<std::string>& text) override;
  bool ListHasFiles() override;
  Composer MakeComposer() override;
  ScriptSettings SettingsAsShown() const override;
  bool OnRelPathField(const wxPoint& point) const override;
  int ControlIdAt(const wxPoint& point) override;
  void RefreshControls() override;
  void ListChanged() override;
  void UpdateCounter() override;
  void OutputChanged() override;
  void TextTyped() override;

  // The controls' path mode and options, into the record.
  void SyncFromControls();
  void BindCommands();
  // Binds a command to its part's handler, through Run.
  void On(int id, std::function<void()> handler);
  // Every command runs here: the controls go into the record first where the command needs
  // it (TakesControlsFirst).
  void Run(int id, const std::function<void()>& command);
  void BindMenus();
  // The set-up from the notice on; once only.
  void FinishSetup();
  void OnHelpIndex();
  void OnAbout();

  TMyWindow* frame_;
  TTipStatusBar* status_;
  ShellContext& context_;
  ScriptSettings settings_;
  FileList list_;
  std::string pending_file_;
  bool setup_finished_ = true;
  std::unique_ptr<wxTimer> setup_timer_;
  wxPoint last_hint_point_{-1, -1};
  std::unique_ptr<MainListPart> list_part_;
  std::unique_ptr<MainSettingsPart> settings_part_;
  std::unique_ptr<MainOutputPart> output_;
  std::unique_ptr<MainTemplatesPart> templates_;
  std::unique_ptr<MainDropsPart> drops_;
  std::unique_ptr<MainPreviewPart> preview_;
};

}  // namespace lq
