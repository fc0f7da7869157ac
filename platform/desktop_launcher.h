#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"

namespace lq {

// Starts documents, programs and web addresses on the desktop, never through a shell.
// The desktop's openers start asynchronously and report nothing about the target, so each
// operation first checks that its target exists; a false answer lets LaunchCommand go on to
// its next stage.
class DesktopLauncher : public Launcher {
 public:
  // A web address goes to the browser; an existing file or folder to its default
  // application; a program found on PATH is started.
  bool OpenWithAssociation(const std::string& target) override;
  // argv[0] must name an executable file, directly or on PATH.
  bool StartProgram(const std::vector<std::string>& argv) override;
  // The desktop's default text/plain application (xdg-mime, gtk-launch), else a known GUI
  // editor found on PATH, else the file's own association.
  bool OpenInTextEditor(const std::string& file) override;
};

// True for "scheme://...", "mailto:..." and "www.".
bool LooksLikeWebAddress(std::string_view text);

// The full name of an executable program: name itself when it holds a '/', else the first
// match in the ':'-separated folders of path_env. Empty when there is none.
std::optional<std::string> FindProgram(const std::string& name, const std::string& path_env);

// GUI text editors tried, in order, when the desktop names no default one.
const std::vector<std::string>& KnownTextEditors();

// The command that opens file in a text editor: gtk-launch with the desktop's default
// text/plain application when both are available, else the first known editor that
// find_program finds; empty when neither.
std::vector<std::string> TextEditorCommand(
    const std::string& file, const std::string& default_desktop_id,
    const std::function<std::optional<std::string>(const std::string&)>& find_program);

}  // namespace lq
