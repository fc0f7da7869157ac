#pragma once

#include <optional>
#include <string>

#include "engine/escape.h"
#include "engine/failure.h"
#include "engine/result.h"
#include "engine/script_settings.h"

class wxMouseEvent;
class wxPoint;

namespace lq {

class PanelHost;
class TZQEditCursor;

// The main panel's script settings as the user sets them: the per-file header and queue, the
// path mode, the two options, the read-only fields of the relative folder, the output file
// and the main texts with their buttons. It moves the record into the controls and back, and
// keeps the settings file.
class MainSettingsPart {
 public:
  explicit MainSettingsPart(PanelHost& host);

  // The settings file into the record and the texts.
  void Load();
  // The record and the texts into the settings file.
  Status Save() const;

  // The controls' path mode and options, into a record.
  void ReadControls(ScriptSettings& settings) const;
  // The record into the controls.
  void RefreshControls();

  std::string HeaderText() const;
  std::string QueueText() const;
  void SetHeaderText(const std::string& text);
  void SetQueueText(const std::string& text);
  bool OnRelPathField(const wxPoint& point) const;

  // Commands.
  void SetOutputFile();
  void SetMainHead();
  void SetMainQueue();
  void SendToOptions();
  void UseTooltip();
  void Escape(EscapeKind kind);

 private:
  void SetupControls();
  // A change of the path mode, an option or a text tells the panel at once.
  void BindChanges();
  // The hint of the relative-path field, which is disabled and sees no pointer itself.
  void BindRelPathHint();
  void OnPanelMotion(wxMouseEvent& event);
  void SetMainText(std::string& field);

  PanelHost& host_;
  TZQEditCursor* header_ = nullptr;
  TZQEditCursor* queue_ = nullptr;
};

}  // namespace lq
