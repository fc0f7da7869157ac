#pragma once

#include <wx/gdicmn.h>

#include <optional>
#include <string>
#include <vector>

namespace lq {

struct ScaleFactors {
  float x = 1;
  float y = 1;
};

// The widening at set-up: the height-to-width ratio of 1000 x 1000 dialog units in pixels,
// times 1.125 (1.21875 with 6 x 13 base units). A zero mapped width changes nothing (1).
double WideningFactor(const wxSize& thousand_units_in_pixels);
// x and width times f, y and height kept, each truncated.
wxRect Widen(const wxRect& rect, double f);

// The growth from the font a resource was laid out in to the dialog's own, larger font, from
// the average letter's size in each (never below 1 on either axis); nothing when it grows
// them by less than a percent, or either is empty.
std::optional<ScaleFactors> FontFollowing(const wxSize& laid_out_letter, const wxSize& font_letter);
// Every value times its axis's factor, rounded to the nearest pixel.
wxRect ScaleRect(const wxRect& rect, const ScaleFactors& scale);
// At least size, and large enough to hold every rectangle with margin pixels to spare on the
// right and below.
wxSize SizeHoldingAll(const std::vector<wxRect>& rects, const wxSize& size, int margin);

// Whether a control takes part in the rescale: ids of 1000 and above keep their place.
// The toolkit's stock ids (OK, Cancel...) stand for the small numbers dialogs always gave them.
bool RescalesWithDialog(int id);

enum class StoredKind { kOther, kListBox, kComboBox };

// One line of the geometry store: where a control was at set-up, in the dialog's client
// coordinates. A combo box's rectangle includes its dropped-down list.
struct StoredControl {
  const void* handle = nullptr;
  StoredKind kind = StoredKind::kOther;
  wxRect rect;
  int field_height = 0;  // combo boxes: the selection field's item height
  int item_height = 0;   // list and combo boxes: the list items' height
};
// "handle,left,top,width,height,field height,item height"
std::string StoreLine(const StoredControl& stored);

// Client size over initial client size; 1 where an initial dimension is 0.
ScaleFactors ScaleFor(const wxSize& client, const wxSize& initial);

// The font's height for a scale: the initial height times the y factor, truncated.
int ScaledFontHeight(int initial_height, float scale_y);

struct RescaledControl {
  wxRect rect;
  std::optional<int> field_height;  // set on a dropped combo box
  std::optional<int> item_height;   // set on list and combo boxes
};
// Left, top, width and height scaled and truncated; item heights scaled and raised to the
// minimum. A combo box not dropped down keeps its stored height when the dialog grows.
RescaledControl RescaleStored(const StoredControl& stored, ScaleFactors scale, int min_item_height,
                              bool dropped);

// Which size changes rescale: the first measures the frame around the client, Ctrl held
// leaves everything in place, and a client size just handled is not handled again (that last
// size is shared by every dialog).
class RescaleTracker {
 public:
  explicit RescaleTracker(const wxSize& initial_client) : initial_client_(initial_client) {}

  // outer: the window's new outer size. Returns the client size to rescale to, or nothing.
  std::optional<wxSize> OnSizeChanged(const wxSize& outer, bool visible, bool ctrl_down);
  // The frame the toolkit knows now. An X11 window manager tells the real one only once the
  // window is mapped, after the first size measured a guess: the client is the outer size
  // less this frame from then on. Nothing before the first size.
  void FrameIs(const wxSize& frame);

  bool first_size() const { return first_size_; }
  const wxSize& frame() const { return frame_; }
  const wxSize& initial_client() const { return initial_client_; }

  // Tests start from a clean shared size.
  static void ForgetLastSize();

 private:
  wxSize initial_client_;
  wxSize frame_{0, 0};
  bool first_size_ = true;
};

}  // namespace lq

namespace lq {

// One arrangement of a dialog's controls: where each stored control goes at the client size
// the arrangement was laid out for, and how far it may shrink before a control gets less
// room than the toolkit needs to show it whole.
struct Arrangement {
  wxSize initial;             // the client size the rectangles were laid out for
  std::vector<wxRect> rects;  // one per stored control, in the store's order
  ScaleFactors floor{0, 0};   // the smallest scale on each axis at which every control fits
};

// The floor of rects for what each control needs (its width, and its height where the
// toolkit draws a fixed part such as a check box's indicator; 0 where nothing is needed).
// Heights never hold the arrangement above its own size: a height floor is at most 1.
ScaleFactors FloorOf(const std::vector<wxRect>& rects, const std::vector<wxSize>& needs);
// The smallest client an arrangement takes: its initial size times its floor, rounded up.
wxSize SmallestClient(const Arrangement& arrangement);
// The arrangement a client width gets: the first (the resource's own comes first) whose
// smallest width it holds, else the one that gets by with the least width.
std::size_t ArrangementFor(const std::vector<Arrangement>& arrangements, int width);
// The scale an arrangement is laid out at in a client: the client over the initial size,
// never below the floor on either axis.
ScaleFactors FittedScale(const Arrangement& arrangement, const wxSize& client);
// The font's factor for a scale: the height's, as every control's, but no larger than the
// width lets the labels grow, and never below the floor's height.
float FontFactor(const Arrangement& arrangement, const ScaleFactors& scale);

}  // namespace lq
