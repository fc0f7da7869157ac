#pragma once

#include <wx/frame.h>
#include <wx/gdicmn.h>

#include <string>
#include <vector>

#include "platform/services.h"

namespace lq {

// Flags of a notice.
inline constexpr int kMexCancelBox = 0x01;  // a "Cancel" box drawn bottom right, with a line
// A notice's icons are the message box's: one set of values for both.
inline constexpr int kMexIconMask = 0x70;
inline constexpr int kMexIconStop = kPromptIconError;
inline constexpr int kMexIconQuestion = kPromptIconQuestion;
inline constexpr int kMexIconExclamation = kPromptIconWarning;
inline constexpr int kMexIconInformation = kPromptIconInfo;  // every notice of Loomquill uses it
inline constexpr int kMexIconSpace = 42;
// The text field holds 1000 characters with its terminator.
inline constexpr std::size_t kMexTextMax = 999;

// The outcome of laying a notice out; width and height are the window's outer size.
struct MexLayout {
  int line_count = 0;  // line breaks + 2
  int icon_space = 0;
  int width = 0;
  int height = 0;
};

// The layout arithmetic over measured sizes: width = widest of the lines and the caption +
// icon space + 30; height = line height x (line count + 1), raised to the icon space, plus
// line height + 5 with the Cancel box, plus 20. The icon space becomes 42 with an icon and
// never goes back to 0.
MexLayout LayOutMex(const std::vector<int>& line_widths, int line_height, int caption_width,
                    int flags, int icon_space);

// Where the Cancel box is drawn in a client area of this size: bottom right, one line high.
wxRect MexCancelBox(const wxSize& client, int cancel_width, int line_height);

// The lines of a notice text, split at "\n" (an empty text is one empty line).
std::vector<std::string> SplitMexLines(const std::string& text);

// The message window: a small captioned frame without maximise, minimise or sizing border,
// centred on its owner (on the desktop while the owner is not shown), that refuses to close while
// may-close is off. Only ShowMex makes, updates and closes it.
class TZQMex : public wxFrame {
 public:
  TZQMex();
  ~TZQMex() override;

  // beeper may be null (the desktop's bell).
  bool Create(wxWindow* parent, const std::string& caption, const std::string& text, int flags,
              Beeper* beeper);

  // Sets the caption (absent empties it), the text (absent keeps it) and the flags, then
  // sizes the window, centres it on its owner and repaints it.
  void LayOut(const std::string* text, const std::string* caption, int flags);
  // Repaints at once, before the caller goes busy.
  void PaintNow();

  const std::string& text() const { return text_; }
  int line_count() const { return line_count_; }
  int line_height() const { return line_height_; }
  int icon_space() const { return icon_space_; }
  int cancel_width() const { return cancel_width_; }
  bool may_close() const { return may_close_; }
  int flags() const { return flags_; }
  // Whether a paint has run since the last PaintNow began.
  bool painted() const { return painted_; }
  void set_may_close(bool may_close) { may_close_ = may_close; }
  // While ShowMex itself shows or activates the window, activation does not beep.
  void set_in_show(bool in_show) { in_show_ = in_show; }

 private:
  void OnPaint(wxPaintEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnActivate(wxActivateEvent& event);

  std::string text_;
  int line_count_ = 0;
  int line_height_ = 0;
  int icon_space_ = 0;
  int cancel_width_ = 0;
  bool may_close_ = true;
  int flags_ = 0;
  Beeper* beeper_ = nullptr;
  bool in_show_ = false;
  bool painted_ = false;
};

// The shown message window, or null.
TZQMex* CurrentMex();

// The one notice of the process. With no window: a text or caption creates and shows one,
// nothing does nothing. With a window: a text or caption updates it (never closing it, the
// display time unused), nothing closes it. A new window with ms >= 1 is a timed notice: it
// stays for ms on the clock, during which nothing else runs, then closes.
// beeper (null: the desktop's bell) sounds when no window can be made.
void ShowMex(wxWindow* parent, const std::string* text, const std::string* caption, int flags,
             int ms, Clock& clock, Beeper* beeper = nullptr);

}  // namespace lq
