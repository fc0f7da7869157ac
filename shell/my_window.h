#pragma once

#include <wx/frame.h>

#include <string>

#include "shell/shell_context.h"

namespace lq {

class MainPanel;
class TTipStatusBar;
enum class SetupRest;

// The main frame: menu bar, tool bar, status bar and the main panel as its one client.
// Commands from the menu bar and the tool bar are passed on to the main panel, but for
// Change Font, which the frame handles itself.
class TMyWindow : public wxFrame {
 public:
  // pending_file is a file given on the command line, handled once the window is set up;
  // rest says when the main panel's set-up after the controls runs (at once by default).
  TMyWindow(ShellContext& context, const std::string& pending_file = {},
            SetupRest rest = SetupRest{});

  MainPanel* client() const { return client_; }
  TTipStatusBar* status_bar() const { return status_; }

  void DoGiveHelp(const wxString& text, bool show) override;

 private:
  void OnCommand(wxCommandEvent& event);
  void OnChangeFont();
  void FitInWorkArea();
  void OnClose(wxCloseEvent& event);
  void OnMenuHighlight(wxMenuEvent& event);
  void OnMenuOpen(wxMenuEvent& event);

  ShellContext& context_;
  TTipStatusBar* status_ = nullptr;
  MainPanel* client_ = nullptr;
  bool forwarding_ = false;
};

// The dialog font the settings file describes.
wxFont DialogFont(const std::filesystem::path& settings_file);

}  // namespace lq
