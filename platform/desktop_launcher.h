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
  // The editor ChooseTextEditor finds; false when there is none or it cannot start. Never
  // the file's own association, which may be Loomquill or a program that runs the file.
  bool OpenInTextEditor(const std::string& file) override;
};

// True for "scheme://...", "mailto:..." and "www.".
bool LooksLikeWebAddress(std::string_view text);

// The full name of an executable program: name itself when it holds a '/', else the first
// match in the ':'-separated folders of path_env. Empty when there is none.
std::optional<std::string> FindProgram(const std::string& name, const std::string& path_env);

// GUI text editors tried, in order, when the desktop names none and $VISUAL/$EDITOR are unset.
const std::vector<std::string>& KnownTextEditors();

// An application the desktop opens plain text with: its desktop file id and its program.
struct DesktopHandler {
  std::string id;
  std::string executable;
  bool operator==(const DesktopHandler&) const = default;
};

// What opens a file as text: a desktop application by its id, or a command; both empty when
// nothing does.
struct EditorChoice {
  std::string desktop_id;
  std::vector<std::string> argv;
  bool operator==(const EditorChoice&) const = default;
};

// Where the text editor is looked for.
struct EditorSources {
  std::vector<DesktopHandler> text_handlers;  // the desktop's for text/plain, default first
  std::string visual;                         // $VISUAL
  std::string editor;                         // $EDITOR
  std::function<std::optional<std::string>(const std::string&)> find_program;
};

// Whether a handler is Loomquill itself, under its id, an older id, or its program's name.
bool IsLoomquill(const DesktopHandler& handler);

// The command that runs command in a terminal: xdg-terminal-exec, x-terminal-emulator, else
// a desktop's own terminal, each with its option for a command; empty when none is found.
std::vector<std::string> InTerminal(
    const std::vector<std::string>& command,
    const std::function<std::optional<std::string>(const std::string&)>& find_program);

// The text editor that opens file, never Loomquill: the desktop's first handler of text/plain
// that is not Loomquill (its default first); else $VISUAL, else $EDITOR, in a terminal (the
// value split at blanks, as a command with options); else a known GUI editor on PATH.
EditorChoice ChooseTextEditor(const std::string& file, const EditorSources& sources);

}  // namespace lq
