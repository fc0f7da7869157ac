#pragma once

#include <wx/timer.h>

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
#include "shell/preview_link.h"
#include "shell/shell_context.h"
#include "uikit/grafext/hint_sink.h"
#include "uikit/grafext/white_center_dlg.h"

class wxMenu;

namespace lq {

class TMyWindow;
class TTipStatusBar;
class TZQListBox;
class TZQEditCursor;

// When the rest of the main panel's set-up runs: at once, or once the window has first
// been drawn (or has stayed undrawn for MainPanel::kSetupWaitMs), so that a start shows the
// window without waiting for the templates.
enum class SetupRest { kNow, kAfterFirstPaint };

// The main panel, the frame's one client: the file list, the per-file texts, the path mode and
// options, the read-only displays and the buttons. It owns the script settings record and
// keeps it in step with the controls.
class MainPanel : public TWhiteCenterPanel, public HintSink {
 public:
  MainPanel(TMyWindow* frame, const wxFont& font, TTipStatusBar* status, ShellContext& context);

  static constexpr int kSetupWaitMs = 500;
  // Settings, controls, counter and the Templates menu's own items; then, as rest says, the
  // templates under the "Loading Templates" notice, the preview as it was and any file
  // waiting from the command line.
  void SetupWindow(SetupRest rest = SetupRest::kNow);
  // Whether the rest of the set-up has run.
  bool setup_finished() const { return setup_finished_; }
  // Writes the settings file; reports a failure and still agrees to close.
  bool CanClose();

  void SyncFromControls();
  void RefreshControls();
  void UpdateCounter();

  // A file handed over by another start or given on the command line; activation_token is
  // the one the other start was given, if any.
  void ReceiveFile(const std::string& name, const std::string& activation_token = {});
  // Files handed over together: one "Copying..." notice that says how many, then one copy of
  // their names, one a line, or of their composed lines, in the order given. A name that
  // cannot be written copies nothing and is reported.
  void ReceiveFiles(const std::vector<std::string>& names,
                    const std::string& activation_token = {});

  // Files dropped at point (the panel's coordinates): on the list, on a setting control or
  // on Auto Drag. pointer, where the pointer was, decides for the disabled relative-path
  // field; without it the drop point does.
  void HandleDrop(const std::vector<std::string>& names, const wxPoint& point);
  void HandleDrop(const std::vector<std::string>& names, const wxPoint& point,
                  const wxPoint& pointer);
  // The two confirmations for the one file in PendingFile (also Auto Drag's 1010 and 1008).
  void SetRelPathFromPending();
  void SetOutputFromPending();

  // The hint for a command or control id: from_menu for menu items, which show no tooltip.
  void MenuItemHint(int id, bool from_menu) override;

  ScriptSettings& settings() { return settings_; }
  FileList& list() { return list_; }
  std::string& pending_file() { return pending_file_; }
  const DropBeeps& drop_beeps() const { return drop_beeps_; }
  const TemplatesMenu& templates() const { return templates_; }
  std::string HeaderText() const;
  std::string QueueText() const;
  void SetHeaderText(const std::string& text);
  void SetQueueText(const std::string& text);
  // The list model changed: the list box shows it again.
  void ShowList();
  // The preview window and what keeps it in step.
  PreviewLink& preview() { return *preview_; }
  // What Create would write now, for the preview: the record as the controls show it.
  Preview ComposePreviewNow();

 private:
  void SetupControls();
  // The controls' path mode and options, into a record.
  void ReadControls(ScriptSettings& settings);
  // Every change of what Create would write ends here, but typing (see BindPreview).
  void OutputChanged();
  // A key went into the header or queue: the status bar at once, the preview throttled.
  void TextTyped();
  // Where the texts' quotes do not fit the escaping, as the controls show them now.
  std::vector<std::string> QuoteWarningsNow();
  // The status bar's message: the first warning, or the output file when there is none.
  void ShowQuoteWarnings(const std::vector<std::string>& warnings);
  void BindPreview();
  void OnPreview();
  wxWindow* ControlAt(const wxPoint& point);
  void BindCommands();
  // The Templates menu with its own items, in the menu bar; then the templates into it.
  void InsertTemplatesMenu();
  void FillTemplatesMenu();
  // The set-up from the notice on; once only.
  void FinishSetup();
  Composer MakeComposer();
  void Report(const Failure& failure);
  void Notice(const std::string& text, const std::string& caption, int ms);
  void CopyText(const std::string& text);
  // Copies the text, or shows why there is none.
  void CopyOrReport(const TextOrFailure& text);
  bool ListHasFiles();

  // Commands.
  void OnCreate();
  void OnCreateAndCopy();
  void OnView();
  void OnExecute();
  void OnWebPage();
  void OnCopySelected();
  void OnCreateAndCopySelected();
  void OnDragCopyName();
  void OnDragCreateAndCopy();
  void OnClear();
  void OnMove(Direction direction);
  void OnDelete();
  void OnOpenList();
  void OnSaveList();
  void OnSetOutputFile();
  void OnSetMainText(std::string& field);
  void OnSendToOptions();
  void OnUseTooltip();
  void OnEscape(EscapeKind kind);
  void OnHelpIndex();
  void OnAbout();
  void OnAutoDragHelp();
  void OnSaveTemplate();
  void OnOpenTemplate();
  void LoadTemplateFile(const std::string& file);
  std::string SaveTemplateFolder(const std::string& current) const;
  template <typename Operation>
  void WithTemplate(const std::string& file, Operation operation);

  void OnListNotice();
  void OnBackgroundMotion(wxMouseEvent& event);

  TMyWindow* frame_;
  TTipStatusBar* status_;
  ShellContext& context_;
  ScriptSettings settings_;
  FileList list_;
  std::string pending_file_;
  TemplatesMenu templates_;
  wxMenu* templates_menu_ = nullptr;  // the menu bar's
  bool setup_finished_ = true;
  std::unique_ptr<wxTimer> setup_timer_;
  TZQListBox* list_box_ = nullptr;
  TZQEditCursor* header_ = nullptr;
  TZQEditCursor* queue_ = nullptr;
  wxPoint last_hint_point_{-1, -1};
  std::unique_ptr<PreviewLink> preview_;
  DropBeeps drop_beeps_;
};

}  // namespace lq
