#include "shell/main_preview_part.h"

#include "engine/quote_check.h"
#include "persist/settings_file.h"
#include "shell/my_window.h"
#include "shell/panel_host.h"
#include "shell/tip_status_bar.h"

namespace lq {

MainPreviewPart::MainPreviewPart(PanelHost& host, const wxFont& font)
    : host_(host),
      font_(font),
      link_(
          &host.frame(), [this] { return ComposeNow(); },
          [this] { return host_.settings().FileOutput; }) {}

Preview MainPreviewPart::ComposeNow() {
  const ScriptSettings current = host_.SettingsAsShown();
  const std::string header = host_.HeaderText();
  const std::string queue = host_.QueueText();
  const ShellContext& context = host_.context();
  Composer composer(current, context.style, context.eol, header, queue, &host_.list());
  Preview preview = ComposePreview(composer, current, host_.list());
  preview.warnings = QuoteWarnings(current, header, queue);
  ShowQuoteWarnings(preview.warnings);
  return preview;
}

std::vector<std::string> MainPreviewPart::QuoteWarningsNow() const {
  return QuoteWarnings(host_.SettingsAsShown(), host_.HeaderText(), host_.QueueText());
}

void MainPreviewPart::ShowQuoteWarnings(const std::vector<std::string>& warnings) {
  // In place of the output file, which its own field still shows; a hint goes over either.
  host_.status().SetMessageText(warnings.empty() ? host_.settings().FileOutput
                                                 : kQuoteWarningPrefix + warnings.front());
}

void MainPreviewPart::OutputChanged() {
  // Whether the preview is open or not, the status bar says it before Create.
  ShowQuoteWarnings(QuoteWarningsNow());
  link_.Changed();
}

void MainPreviewPart::TextTyped() {
  ShowQuoteWarnings(QuoteWarningsNow());
  link_.Typed();
}

void MainPreviewPart::Restore() {
  const PreviewSettings stored = LoadPreviewSettings(host_.context().settings_file);
  link_.Restore(stored);
  // Once the main window is up, so that the preview can go beside it.
  if (stored.Open) host_.window().CallAfter([this] { Open(); });
}

Status MainPreviewPart::Save() const {
  return SavePreviewSettings(host_.context().settings_file, link_.State());
}

void MainPreviewPart::Open() { link_.Open(font_); }

}  // namespace lq
