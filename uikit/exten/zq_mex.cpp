#include "uikit/exten/zq_mex.h"

#include <wx/artprov.h>
#include <wx/cursor.h>
#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>
#include <memory>

#include "engine/text_helpers.h"
#include "platform/compositor.h"
#include "resources/translate.h"
#include "uikit/grafext/contrast.h"
#include "uikit/grafext/desktop.h"

namespace lq {
namespace {

TZQMex* g_slot = nullptr;

void Beep(Beeper* beeper) {
  if (beeper != nullptr) {
    beeper->Beep();
  } else {
    wxBell();
  }
}

wxArtID IconArt(int flags) {
  switch (flags & kMexIconMask) {
    case kMexIconStop:
      return wxART_ERROR;
    case kMexIconQuestion:
      return wxART_QUESTION;
    case kMexIconExclamation:
      return wxART_WARNING;
    default:
      return wxART_INFORMATION;
  }
}

// Runs the toolkit's drawing and window-management events, and no input or timers.
void ProcessUiEvents() {
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    loop->YieldFor(wxEVT_CATEGORY_UI);
  } else {
    wxGUIEventLoop temporary;
    temporary.YieldFor(wxEVT_CATEGORY_UI);
  }
}

}  // namespace

MexLayout LayOutMex(const std::vector<int>& line_widths, int line_height, int caption_width,
                    int flags, int icon_space) {
  MexLayout layout;
  layout.line_count = static_cast<int>(line_widths.size()) + 1;
  int width = 0;
  for (int w : line_widths) width = std::max(width, w);
  width = std::max(width, caption_width);
  int height = line_height * (layout.line_count + 1);
  layout.icon_space = (flags & kMexIconMask) != 0 && icon_space == 0 ? kMexIconSpace : icon_space;
  height = std::max(height, layout.icon_space);
  if ((flags & kMexCancelBox) != 0) height += line_height + 5;
  layout.width = width + layout.icon_space + 30;
  layout.height = height + 20;
  return layout;
}

wxRect MexCancelBox(const wxSize& client, int cancel_width, int line_height) {
  const int right = client.GetWidth() - 4;
  const int bottom = client.GetHeight() - 4;
  const int left = client.GetWidth() - cancel_width - 14;
  const int top = client.GetHeight() - line_height - 4;
  return {left, top, right - left, bottom - top};
}

std::vector<std::string> SplitMexLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (;;) {
    const auto end = text.find('\n', begin);
    lines.push_back(text.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return lines;
}

TZQMex::TZQMex() = default;

TZQMex::~TZQMex() {
  // However the window goes (with its parent, say), the slot must not point at it.
  if (g_slot == this) g_slot = nullptr;
}

bool TZQMex::Create(wxWindow* parent, const std::string& caption, const std::string& text,
                    int flags, Beeper* beeper) {
  // An owned notice stays above its owner and off the task bar, as owned windows do.
  long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX;
  if (parent != nullptr) style |= wxFRAME_FLOAT_ON_PARENT | wxFRAME_NO_TASKBAR;
  if (!wxFrame::Create(parent, wxID_ANY, wxString::FromUTF8(caption), wxDefaultPosition,
                       wxDefaultSize, style)) {
    return false;
  }
  text_ = std::string(CutUtf8View(text, kMexTextMax));
  may_close_ = true;
  icon_space_ = 0;
  flags_ = flags;
  beeper_ = beeper;
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  Bind(wxEVT_PAINT, &TZQMex::OnPaint, this);
  Bind(wxEVT_CLOSE_WINDOW, &TZQMex::OnClose, this);
  Bind(wxEVT_ACTIVATE, &TZQMex::OnActivate, this);
  // The toolkit asks the window under the pointer for its cursor and, when it does not
  // answer, its owner, in the owner's coordinates: an owner not yet shown has none, as at
  // start, when this notice opens before the main window. The notice answers itself.
  Bind(wxEVT_SET_CURSOR, [](wxSetCursorEvent& event) { event.SetCursor(*wxSTANDARD_CURSOR); });
  return true;
}

void TZQMex::LayOut(const std::string* text, const std::string* caption, int flags) {
  SetTitle(caption != nullptr ? wxString::FromUTF8(*caption) : wxString());
  if (text != nullptr) text_ = std::string(CutUtf8View(*text, kMexTextMax));
  flags_ = flags;

  // A line's height is the font's, whatever the line holds (an empty one too).
  line_height_ = GetCharHeight();
  cancel_width_ = GetTextExtent(_("Cancel")).GetWidth();
  std::vector<int> widths;
  for (const std::string& line : SplitMexLines(text_)) {
    widths.push_back(line.empty() ? 0 : GetTextExtent(wxString::FromUTF8(line)).GetWidth());
  }
  const wxString title = GetTitle();
  const int caption_width = title.empty() ? 0 : GetTextExtent(title).GetWidth();

  const MexLayout layout = LayOutMex(widths, line_height_, caption_width, flags_, icon_space_);
  line_count_ = layout.line_count;
  icon_space_ = layout.icon_space;
  // Under Wayland the toolkit draws the title bar inside the window and counts it in the
  // size, so a small notice sized as a whole would leave no room for its text.
  if (OnWayland()) {
    SetClientSize(layout.width, layout.height);
  } else {
    SetSize(layout.width, layout.height);
  }
  // On the window it speaks for, where the user looks; on the desktop before that is up.
  CenterOnOwner(this);
  Refresh();
}

void TZQMex::PaintNow() {
  painted_ = false;
  Refresh();
  Update();
  // wxGTK maps and draws a window asynchronously: let only the toolkit's drawing and window
  // events run until the notice has been painted, so it shows before the caller goes busy.
  for (int i = 0; i < 50 && !painted_ && IsShown(); ++i) {
    ProcessUiEvents();
    if (!painted_) wxMilliSleep(2);
  }
}

void TZQMex::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  painted_ = true;
  const wxSize client = GetClientSize();
  const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  dc.SetBrush(wxBrush(face));
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.DrawRectangle(wxPoint(0, 0), client);

  if ((flags_ & kMexIconMask) != 0) {
    const wxBitmap icon =
        wxArtProvider::GetBitmap(IconArt(flags_), wxART_MESSAGE_BOX, wxSize(32, 32));
    if (icon.IsOk()) dc.DrawBitmap(icon, 10, client.GetHeight() / 2 - 16, true);
  }

  dc.SetFont(GetFont());
  const wxColour text_colour = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
  // The face is the buttons' colour, not the window's: the theme's text may not read on it.
  dc.SetTextForeground(ReadableOn(face, text_colour));
  dc.SetTextBackground(face);
  dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
  int y = 10;
  for (const std::string& line : SplitMexLines(text_)) {
    if (!line.empty()) dc.DrawText(wxString::FromUTF8(line), icon_space_ + 20, y);
    y += line_height_;
  }

  if ((flags_ & kMexCancelBox) != 0) {
    // Drawing only: the window does not react to clicks on the box.
    const wxRect box = MexCancelBox(client, cancel_width_, line_height_);
    dc.SetBrush(*wxLIGHT_GREY_BRUSH);
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawRectangle(box);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    // The box is light grey in every theme: a dark theme's light text would not read on it.
    dc.SetTextForeground(ReadableOn(*wxLIGHT_GREY, text_colour));
    dc.DrawText(_("Cancel"), box.GetX() + 5, box.GetY());
  }
}

void TZQMex::OnClose(wxCloseEvent& event) {
  if (!may_close_ && event.CanVeto()) {
    event.Veto();
    return;
  }
  if (g_slot == this) g_slot = nullptr;
  Destroy();
}

void TZQMex::OnActivate(wxActivateEvent& event) {
  // The window manager owns the caption bar, so a click on it is seen only as the
  // activation it causes: that beeps, unless ShowMex is the one activating.
  if (event.GetActive() && !in_show_) Beep(beeper_);
  event.Skip();
}

TZQMex* CurrentMex() { return g_slot; }

void ShowMex(wxWindow* parent, const std::string* text, const std::string* caption, int flags,
             int ms, Clock& clock, Beeper* beeper) {
  const bool given = text != nullptr || caption != nullptr;
  TZQMex* mex = g_slot;

  if (mex != nullptr && given) {
    mex->set_in_show(true);
    mex->LayOut(text, caption, flags);
    mex->PaintNow();
    mex->Raise();
    mex->set_in_show(false);
    return;
  }
  if (mex != nullptr) {
    mex->set_may_close(true);
    g_slot = nullptr;
    mex->Close();
    return;
  }
  if (!given) return;

  auto made = std::make_unique<TZQMex>();
  if (!made->Create(parent, caption != nullptr ? *caption : std::string(),
                    text != nullptr ? *text : std::string(), flags, beeper)) {
    Beep(beeper);
    return;
  }
  mex = made.release();
  g_slot = mex;
  mex->set_in_show(true);
  mex->LayOut(text, caption, flags);
  mex->Show();
  mex->Raise();
  mex->PaintNow();
  mex->set_may_close(false);
  mex->set_in_show(false);

  if (ms >= 1) {
    clock.BusyWait(ms);
    mex->set_may_close(true);
    g_slot = nullptr;
    mex->Close();
  }
}

}  // namespace lq
