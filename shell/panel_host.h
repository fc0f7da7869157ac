#pragma once

#include <string>

#include "engine/composer.h"
#include "engine/failure.h"
#include "engine/file_list.h"
#include "engine/output.h"
#include "engine/script_settings.h"
#include "shell/shell_context.h"

class wxPoint;
class wxWindow;

namespace lq {

class TMyWindow;
class TTipStatusBar;

// What a part of the main panel may ask of the panel: the window its controls live in, the
// state the parts share (the record, the list, the waiting file), the ways to tell the user
// and the steps that cross parts. A part reaches the others only through these.
class PanelHost {
 public:
  // The panel: the parent of every part's controls and the owner of their dialogs.
  virtual wxWindow& window() = 0;
  virtual TMyWindow& frame() = 0;
  virtual TTipStatusBar& status() = 0;
  virtual ShellContext& context() = 0;

  virtual ScriptSettings& settings() = 0;
  virtual FileList& list() = 0;
  // The one file waiting for a single-file action; the part that acts on it empties it.
  virtual std::string& pending_file() = 0;

  virtual void Report(const Failure& failure) = 0;
  virtual void Notice(const std::string& text, const std::string& caption, int ms) = 0;
  virtual void CopyText(const std::string& text) = 0;
  // Copies the text, or shows why there is none.
  virtual void CopyOrReport(const Result<std::string>& text) = 0;
  // False, after the "Info" notice, on an empty list.
  virtual bool ListHasFiles() = 0;

  // Composes from the record, the per-file texts and the list.
  virtual Composer MakeComposer() = 0;
  // The record with the path mode and options the controls show, the record left as it is.
  virtual ScriptSettings SettingsAsShown() const = 0;
  virtual std::string HeaderText() const = 0;
  virtual std::string QueueText() const = 0;
  virtual void SetHeaderText(const std::string& text) = 0;
  virtual void SetQueueText(const std::string& text) = 0;
  // Whether a point of the panel lies on the relative-path field, which takes folders.
  virtual bool OnRelPathField(const wxPoint& point) const = 0;
  // The id of the control at a point of the panel, as the window under a point is found (a
  // disabled control is never it, a group box only frames the others); 0 for none.
  virtual int ControlIdAt(const wxPoint& point) = 0;

  // The record changed: the controls show it again.
  virtual void RefreshControls() = 0;
  // The list changed: the list box shows it, the counter follows.
  virtual void ListChanged() = 0;
  virtual void UpdateCounter() = 0;
  // What Create would write changed; TextTyped for a key in the header or queue.
  virtual void OutputChanged() = 0;
  virtual void TextTyped() = 0;

 protected:
  ~PanelHost() = default;
};

}  // namespace lq
