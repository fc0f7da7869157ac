#pragma once

#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/weakref.h>

#include <functional>
#include <string>

#include "engine/preview.h"
#include "persist/settings_file.h"
#include "shell/preview_frame.h"
#include "shell/throttle.h"

class wxTopLevelWindow;

namespace lq {

// At most one refresh per this many milliseconds of typing.
inline constexpr int kTypingRefreshMs = 100;
inline constexpr int kPreviewTimerId = 1030;

// Keeps the preview window in step with the main window: opens it beside the main window or
// where it last was, refreshes it on every change of the output (typing throttled), closes it
// with the main window, and tells the settings file whether it was open and where.
class PreviewLink {
 public:
  // compose gives the preview of the output as it stands, output_file where Create writes.
  PreviewLink(wxTopLevelWindow* main, std::function<Preview()> compose,
              std::function<std::string()> output_file);
  ~PreviewLink();
  PreviewLink(const PreviewLink&) = delete;
  PreviewLink& operator=(const PreviewLink&) = delete;

  // Shows the window filled, or raises it when it is open. font is the main window's.
  void Open(const wxFont& font);
  bool IsOpen() const { return frame_ != nullptr; }
  PreviewFrame* window() const { return frame_.get(); }

  // Something that changes the output changed: refresh at once.
  void Changed();
  // A key went into the header or queue: refresh, but not more often than kTypingRefreshMs.
  void Typed();
  // Times the window was refreshed (the output composed) since it was made.
  long long refreshes() const { return refreshes_; }

  // Open or not, and the window's place (the last one while closed).
  PreviewSettings State() const;
  // Takes the place the settings file keeps, for the next time the window opens; when it
  // was open, that next opening is its restoring, which leaves the focus where it is.
  void Restore(const PreviewSettings& state);

 private:
  void Refresh();
  void Closing();
  wxRect Place() const;

  wxTopLevelWindow* main_;
  std::function<Preview()> compose_;
  std::function<std::string()> output_file_;
  wxWeakRef<PreviewFrame> frame_;
  Throttle typing_;
  PreviewSettings place_;
  bool open_restored_ = false;
  long long refreshes_ = 0;
};

}  // namespace lq
