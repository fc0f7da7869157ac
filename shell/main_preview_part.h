#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/failure.h"
#include "engine/preview.h"
#include "engine/result.h"
#include "shell/preview_link.h"

namespace lq {

class PanelHost;

// What Create would write, shown before it runs: the preview window and the quote warnings in
// the status bar's message field, both following every change of the output.
class MainPreviewPart {
 public:
  // font is the main panel's as it was built, before any rescaling: the preview's own.
  MainPreviewPart(PanelHost& host, const wxFont& font);

  // What Create would write now: the record as the controls show it, the record left as it
  // is. The status bar says the first quote warning.
  Preview ComposeNow();
  // Something that changes the output changed: both follow at once.
  void OutputChanged();
  // A key went into the header or queue: the status bar at once, the preview throttled.
  void TextTyped();
  // The preview as the settings file left it; it opens again if it was open.
  void Restore();
  // Open or not, and where, into the settings file.
  Status Save() const;
  PreviewLink& link() { return link_; }

  // Command.
  void Open();

 private:
  // Where the texts' quotes do not fit the escaping, as the controls show them now.
  std::vector<std::string> QuoteWarningsNow() const;
  // The status bar's message: the first warning, or the output file when there is none.
  void ShowQuoteWarnings(const std::vector<std::string>& warnings);

  PanelHost& host_;
  const wxFont& font_;
  PreviewLink link_;
};

}  // namespace lq
