#include "uikit/tooltip/zq_tooltip.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/eventfilter.h>
#include <wx/gdicmn.h>
#include <wx/modalhook.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

#include "uikit/grafext/contrast.h"
#include "uikit/tooltip/tip_logic.h"

namespace lq {
namespace {

ZQTToolTip* g_tip = nullptr;
const bool* g_tips_enabled = nullptr;

bool IsKeyEvent(wxEventType type) {
  return type == wxEVT_KEY_DOWN || type == wxEVT_KEY_UP || type == wxEVT_CHAR ||
         type == wxEVT_CHAR_HOOK;
}

}  // namespace

// The keyboard hook of the thread: any key event hides the tip while tips are off. It also
// sees the tip's owner window lose the activation, which hides the tip: another window, a
// dialog of the toolkit's among them, is where the user looks now. It never takes the event.
class ZQTToolTip::KeyboardHook : public wxEventFilter {
 public:
  explicit KeyboardHook(ZQTToolTip& tip) : tip_(tip) { wxEvtHandler::AddFilter(this); }
  ~KeyboardHook() override { wxEvtHandler::RemoveFilter(this); }
  int FilterEvent(wxEvent& event) override {
    const wxEventType type = event.GetEventType();
    if (IsKeyEvent(type) && (g_tips_enabled == nullptr || !*g_tips_enabled)) {
      if (ZQTToolTip* tip = TipInstance()) tip->HideTip();
    } else if (type == wxEVT_ACTIVATE && !static_cast<wxActivateEvent&>(event).GetActive() &&
               event.GetEventObject() == wxGetTopLevelParent(tip_.GetParent())) {
      tip_.HideTip();
    }
    return Event_Skip;
  }

 private:
  ZQTToolTip& tip_;
};

// Every modal dialog of the process, the toolkit's own (file, font, message) included, is
// announced here before it shows: the tip goes at once, and a pending one with it.
class ZQTToolTip::ModalHook : public wxModalDialogHook {
 public:
  explicit ModalHook(ZQTToolTip& tip) : tip_(tip) { Register(); }

 protected:
  int Enter(wxDialog*) override {
    ++tip_.modal_depth_;
    tip_.HideTip();
    return wxID_NONE;
  }
  void Exit(wxDialog*) override {
    if (tip_.modal_depth_ > 0) --tip_.modal_depth_;
  }

 private:
  ZQTToolTip& tip_;
};

wxFont TToolTipFont() {
  return wxFont(wxFontInfo(wxSize(0, 9)).FaceName("MS Sans Serif").Family(wxFONTFAMILY_SWISS));
}

ZQTToolTip* TipInstance() { return g_tip; }
void SetTipInstance(ZQTToolTip* tip) { g_tip = tip; }
void PublishTipsEnabled(const bool* flag) { g_tips_enabled = flag; }
const bool* PublishedTipsEnabled() { return g_tips_enabled; }

void SetHintAnchor(const wxPoint& screen_point) {
  SetHintAnchor(screen_point, KitPointer().WindowAt(screen_point));
}

ZQTToolTip::ZQTToolTip(wxWindow* parent, const wxFont* font)
    : wxPopupWindow(parent, wxBORDER_NONE), engine_(*this) {
  if (font != nullptr && font->IsOk()) font_ = *font;
  RefreshTipFont();
  // Nothing is erased: the paint handler covers every pixel.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  show_timer_ = KitTimers().Make(kTipShowTimer, [this] { engine_.OnTimer(kTipShowTimer); });
  poll_timer_ = KitTimers().Make(kTipPollTimer, [this] { engine_.OnTimer(kTipPollTimer); });
  Bind(wxEVT_PAINT, &ZQTToolTip::OnPaint, this);
  Bind(wxEVT_MOTION, &ZQTToolTip::OnPointerOnTip, this);
  Bind(wxEVT_ENTER_WINDOW, &ZQTToolTip::OnPointerOnTip, this);
  Bind(wxEVT_SYS_COLOUR_CHANGED, [this](wxSysColourChangedEvent& e) {
    e.Skip();
    RefreshTipFont();
  });
  SetTipInstance(this);
  hook_ = std::make_unique<KeyboardHook>(*this);
  modal_hook_ = std::make_unique<ModalHook>(*this);
}

ZQTToolTip::~ZQTToolTip() {
  engine_.KillTipTimers();
  modal_hook_.reset();
  hook_.reset();
}

void ZQTToolTip::SetTipText(const std::string* text) {
  if (text != nullptr && modal_depth_ > 0) return;
  engine_.SetTipText(text);
}

void ZQTToolTip::RefreshTipFont() {
  const wxFont system = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  if (system.IsOk()) font_ = system;
}

wxString ZQTToolTip::PaintedText() const {
  std::string plain;
  const TipLines lines = CountTipLines(engine_.text());
  for (std::size_t i = 0; i < lines.lines.size(); ++i) {
    if (i > 0) plain.push_back('\n');
    plain += lines.lines[i];
  }
  return wxString::FromUTF8(plain);
}

void ZQTToolTip::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxRect rect = GetClientRect();
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWFRAME), 1));
  const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_INFOBK);
  dc.SetBrush(wxBrush(face));
  dc.DrawRectangle(rect);
  dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
  if (font_.IsOk()) dc.SetFont(font_);
  dc.SetTextForeground(ReadableOn(face, wxSystemSettings::GetColour(wxSYS_COLOUR_INFOTEXT)));
  dc.DrawLabel(PaintedText(), rect, wxALIGN_CENTER);
}

void ZQTToolTip::OnPointerOnTip(wxMouseEvent& event) {
  event.Skip();
  HideTip();
}

long long ZQTToolTip::NowMs() { return KitClock().NowMs(); }

wxSize ZQTToolTip::MeasureLine(const std::string& line) {
  int w = 0;
  int h = 0;
  // An empty line still has the font's height.
  const wxString text = line.empty() ? wxString(" ") : wxString::FromUTF8(line);
  GetTextExtent(text, &w, &h, nullptr, nullptr, font_.IsOk() ? &font_ : nullptr);
  if (line.empty()) w = 0;
  return {w, h};
}

void ZQTToolTip::StartTimer(int id, int interval_ms) {
  KitTimer* timer = id == kTipShowTimer ? show_timer_.get() : poll_timer_.get();
  if (timer != nullptr) timer->Start(interval_ms);
}

void ZQTToolTip::StopTimer(int id) {
  KitTimer* timer = id == kTipShowTimer ? show_timer_.get() : poll_timer_.get();
  if (timer != nullptr) timer->Stop();
}

void ZQTToolTip::HideWindow() {
  if (IsShown()) Hide();
}

void ZQTToolTip::MoveWindow(const wxRect& rect) {
  placed_ = rect;
  SetSize(rect);
}

void ZQTToolTip::ShowWindow() {
  if (modal_depth_ > 0) return;
  Show();
  // GTK maps a popup where it was last shown, at its natural size. The toolkit skips a
  // move to the place it has on record, so the popup goes one pixel off and back.
  SetSize(placed_.x + 1, placed_.y, placed_.width, placed_.height);
  SetSize(placed_);
  Refresh();
  Update();
}

bool ZQTToolTip::WindowShown() const { return IsShown(); }

wxSize ZQTToolTip::ScreenSize() { return wxGetDisplaySize(); }

wxPoint ZQTToolTip::PointerPosition() { return KitPointer().Position(); }

wxWindow* ZQTToolTip::WindowAt(const wxPoint& screen_point) {
  return KitPointer().WindowAt(screen_point);
}

}  // namespace lq
