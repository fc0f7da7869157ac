#include "uikit/grafext/white_center_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/translation.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <cstdlib>
#include <type_traits>

#ifdef __WXGTK__
#include "platform/gtk_edit_look.h"
#include "platform/gtk_group_box.h"
#endif

#include "platform/compositor.h"
#include "platform/toolkit_sizes.h"
#include "uikit/grafext/controls.h"
#include "uikit/grafext/desktop.h"
#include "uikit/grafext/face_colours.h"
#include "uikit/grafext/kit_services.h"
#include "uikit/grafext/popup.h"
#include "uikit/grafext/spacing_grid.h"
#include "uikit/grafext/zq_list_box.h"

namespace lq {
namespace {

void GiveFont(wxWindow* window, const wxFont& font) {
  for (wxWindow* child : window->GetChildren()) {
    if (child->IsTopLevel()) continue;
    child->SetFont(font);
    GiveFont(child, font);
  }
}

// Controls keep their own pointer: the dialog's hand would otherwise show through the
// toolkit's controls, which have no cursor of their own. Text fields keep their I-beam.
void KeepControlCursors(wxWindow* window) {
  for (wxWindow* child : window->GetChildren()) {
    if (child->IsTopLevel()) continue;
    if (!child->GetCursor().IsOk() && dynamic_cast<wxTextCtrl*>(child) == nullptr) {
      child->SetCursor(wxCursor(wxCURSOR_ARROW));
    }
  }
}

// Labels are drawn on the dialog's own background, in the text colour that goes with it,
// also where a control's own style would give them another.
void GiveLabelColour(wxWindow* window, const wxColour& text) {
  for (wxWindow* child : window->GetChildren()) {
    if (child->IsTopLevel()) continue;
    if (dynamic_cast<wxStaticText*>(child) != nullptr ||
        dynamic_cast<wxCheckBox*>(child) != nullptr ||
        dynamic_cast<wxRadioButton*>(child) != nullptr ||
        dynamic_cast<wxStaticBox*>(child) != nullptr) {
      child->SetForegroundColour(text);
    }
    GiveLabelColour(child, text);
  }
}

// Buttons, check boxes and radio buttons mark the keyboard focus with a ring.
void GiveFocusRing(wxWindow* window, const wxColour& ring) {
  for (wxWindow* child : window->GetChildren()) {
    if (child->IsTopLevel()) continue;
    if (dynamic_cast<wxButton*>(child) != nullptr || dynamic_cast<wxCheckBox*>(child) != nullptr ||
        dynamic_cast<wxRadioButton*>(child) != nullptr) {
      ShowKeyboardFocus(child, ring);
    }
    GiveFocusRing(child, ring);
  }
}

#ifdef __WXGTK__
// Calls look(handle) for each direct child of window that is a Control.
template <typename Control, typename Look>
void ForEachChildOf(wxWindow* window, Look look) {
  for (wxWindow* child : window->GetChildren()) {
    if (dynamic_cast<Control*>(child) != nullptr) look(child->GetHandle());
  }
}
#endif

// Room between a group label and its frame's line, on either side of the text.
constexpr int kGroupLabelGap = 4;

void KeepGroupLabelsOffTheirFrames(wxWindow* window) {
#ifdef __WXGTK__
  ForEachChildOf<wxStaticBox>(window, [](void* box) { SetGroupLabelApart(box, kGroupLabelGap); });
#else
  (void)window;
#endif
}

// Room between an edit box's border and its text: one step of GTK's spacing grid.
constexpr int kEditInnerMargin = 6;

void GiveEditsInnerMargins(wxWindow* window) {
#ifdef __WXGTK__
  ForEachChildOf<wxTextCtrl>(window,
                             [](void* edit) { SetEditInnerMargin(edit, kEditInnerMargin); });
#else
  (void)window;
#endif
}

// The average letter's size in a font, in thousandths of a pixel: what dialog units are
// made of.
wxSize LetterSize(const wxWindow* window, const wxFont& font) {
  static const wxString kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  int width = 0;
  int height = 0;
  window->GetTextExtent(kLetters, &width, &height, nullptr, nullptr, &font);
  return {width * 1000 / static_cast<int>(kLetters.length()), height * 1000};
}

// A window of its own keeps GTK's 12 pixels to its edges; the main dialog, inside its frame
// below the tool bar, one step.
SpacingGrid SpacingOf(const wxWindow* dialog) {
  SpacingGrid grid;
  if (!dialog->IsTopLevel()) grid.margin = grid.step;
  return grid;
}

// Fields and lists show what room they get across: their width may round down.
bool IsElastic(const wxWindow* child) {
  return dynamic_cast<const wxTextCtrl*>(child) != nullptr ||
         dynamic_cast<const wxListBox*>(child) != nullptr ||
         dynamic_cast<const TZQListBox*>(child) != nullptr;
}

// Pixels kept free between the outermost controls and the dialog's right and bottom edges.
constexpr int kEdgeMargin = 3;

// The controls the dialog lays out itself: its own children, not windows of their own.
bool IsStoredChild(const wxWindow* child) {
  return !child->IsTopLevel() && RescalesWithDialog(child->GetId());
}

StoredKind KindOf(const wxWindow* child) {
  if (dynamic_cast<const wxListBox*>(child) != nullptr ||
      dynamic_cast<const TZQListBox*>(child) != nullptr) {
    return StoredKind::kListBox;
  }
  if (dynamic_cast<const wxComboBox*>(child) != nullptr ||
      dynamic_cast<const wxChoice*>(child) != nullptr) {
    return StoredKind::kComboBox;
  }
  return StoredKind::kOther;
}

}  // namespace

template <typename Base>
TWhiteCenter<Base>::TWhiteCenter(wxWindow* parent, const std::string& resource,
                                 const std::string& popup_menu, const wxFont* font) {
  const wxString name = wxString::FromUTF8(resource);
  if constexpr (std::is_base_of_v<wxDialog, Base>) {
    loaded_ = wxXmlResource::Get()->LoadDialog(this, parent, name);
  } else {
    loaded_ = wxXmlResource::Get()->LoadPanel(this, parent, name);
  }
  if (!loaded_) return;
  menu_ = LoadPopupMenu(popup_menu);
  if (menu_ != nullptr) menu_name_ = popup_menu;

  this->Bind(wxEVT_LEFT_DOWN, &TWhiteCenter::OnLeftDown, this);
  this->Bind(wxEVT_LEFT_UP, &TWhiteCenter::OnLeftUp, this);
  this->Bind(wxEVT_RIGHT_DOWN, &TWhiteCenter::OnRightDown, this);
  this->Bind(wxEVT_RIGHT_UP, &TWhiteCenter::OnRightUp, this);
  this->Bind(wxEVT_MOTION, &TWhiteCenter::OnMotion, this);
  this->Bind(wxEVT_MOUSE_CAPTURE_LOST, &TWhiteCenter::OnCaptureLost, this);
  this->Bind(wxEVT_PAINT, &TWhiteCenter::OnPaint, this);
  this->Bind(wxEVT_SIZE, &TWhiteCenter::OnSize, this);
  this->Bind(wxEVT_SYS_COLOUR_CHANGED, &TWhiteCenter::OnThemeChanged, this);

  SetUp(font);
}

template <typename Base>
wxColour TWhiteCenter<Base>::BackgroundColour() {
  return ThemeDialogColours().background;
}

template <typename Base>
void TWhiteCenter<Base>::TakeThemeColours() {
  const DialogColours colours = ThemeDialogColours();
  this->SetBackgroundColour(colours.background);
  GiveLabelColour(this, colours.text);
  GiveFocusRing(this, colours.focus);
}

template <typename Base>
void TWhiteCenter<Base>::OnThemeChanged(wxSysColourChangedEvent& event) {
  event.Skip();
  TakeThemeColours();
  this->Refresh();
}

template <typename Base>
bool TWhiteCenter<Base>::Show(bool show) {
  // The frame places its client; a dialog is placed at each showing, as its owner may have
  // moved since it was made, and a show is the first moment its size can no longer change.
  if (show && this->IsTopLevel() && !this->IsShown() && CenterOnOwner(this)) {
    Rescale(this->GetClientSize());
  }
  return Base::Show(show);
}

template <typename Base>
TWhiteCenter<Base>::~TWhiteCenter() {
  if (this->HasCapture()) this->ReleaseMouse();
}

template <typename Base>
void TWhiteCenter<Base>::SetUp(const wxFont* font) {
  // The units the resource was laid out in, before the dialog's own font replaces them.
  const double f = WideningFactor(this->ConvertDialogToPixels(wxSize(1000, 1000)));
  // Dialog units come from the top-level window's font, which the resource was laid out in.
  const wxWindow* top = wxGetTopLevelParent(this);
  const wxFont laid_out_font = top != nullptr && top->GetFont().IsOk()
                                   ? top->GetFont()
                                   : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  initial_font_ =
      font != nullptr && font->IsOk() ? *font : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
  current_font_ = initial_font_;
  this->SetFont(initial_font_);
  GiveFont(this, initial_font_);
  TakeThemeColours();
  KeepGroupLabelsOffTheirFrames(this);
  GiveEditsInnerMargins(this);
  this->SetCursor(LoadNamedCursor("CUR_MANO"));
  KeepControlCursors(this);
  Widen(f);
  FollowFont(LetterSize(this, laid_out_font), LetterSize(this, initial_font_));
  HoldEveryControl();
  FillStore();
  initial_client_size_ = this->GetClientSize();
  MeasureNeeds();
  HoldAtSmallest();
  setup_size_ = this->GetSize();
  // Set-up is the first size change: it measures the frame around the client.
  tracker_.emplace(initial_client_size_);
  tracker_->OnSizeChanged(this->GetSize(), true, false);
}

template <typename Base>
void TWhiteCenter<Base>::Widen(double f) {
  widening_ = f;
  if (f == 1.0) return;
  this->SetSize(lq::Widen(this->GetRect(), f));
  // A panel's resource size is its minimum in the frame's sizer: it widens with it.
  if (!this->IsTopLevel() && this->GetMinSize().IsFullySpecified()) {
    this->SetMinSize(this->GetSize());
  }
  for (wxWindow* child : this->GetChildren()) {
    if (IsStoredChild(child)) child->SetSize(lq::Widen(child->GetRect(), f));
  }
}

// A font larger or smaller than the one the resource was laid out in moves and sizes every
// control with it, as dialog units would have, so that no label is cut.
template <typename Base>
void TWhiteCenter<Base>::FollowFont(const wxSize& laid_out_letter, const wxSize& font_letter) {
  const std::optional<ScaleFactors> scale = FontFollowing(laid_out_letter, font_letter);
  if (!scale) return;
  followed_ = *scale;
  const wxSize size = ScaleRect(wxRect(wxPoint(0, 0), this->GetClientSize()), *scale).GetSize();
  this->SetClientSize(size);
  if (!this->IsTopLevel() && this->GetMinSize().IsFullySpecified()) {
    this->SetMinSize(this->GetSize());
  }
  for (wxWindow* child : this->GetChildren()) {
    if (IsStoredChild(child)) child->SetSize(ScaleRect(child->GetRect(), *scale));
  }
}

// The controls go on GTK's spacing grid, in the resource's arrangement, and the client holds
// them with the grid's margin: none laid out up to the resource's edge loses its border to
// the window's.
template <typename Base>
void TWhiteCenter<Base>::HoldEveryControl() {
  std::vector<wxWindow*> stored;
  std::vector<wxRect> rects;
  std::vector<bool> elastic;
  std::vector<wxRect> kept;
  for (wxWindow* child : this->GetChildren()) {
    if (IsStoredChild(child)) {
      stored.push_back(child);
      rects.push_back(child->GetRect());
      elastic.push_back(IsElastic(child));
    } else if (!child->IsTopLevel()) {
      kept.push_back(child->GetRect());
    }
  }
  const SpacingGrid spacing = SpacingOf(this);
  const std::vector<wxRect> placed = OnSpacingGrid(rects, spacing, elastic);
  for (std::size_t i = 0; i < stored.size(); ++i) stored[i]->SetSize(placed[i]);
  const wxSize grid = GridClient(placed, spacing);
  const wxSize others = SizeHoldingAll(kept, wxSize(0, 0), kEdgeMargin);
  const wxSize held(std::max(grid.GetWidth(), others.GetWidth()),
                    std::max(grid.GetHeight(), others.GetHeight()));
  if (held == this->GetClientSize()) return;
  this->SetClientSize(held);
  if (!this->IsTopLevel() && this->GetMinSize().IsFullySpecified()) {
    this->SetMinSize(this->GetSize());
  }
}

template <typename Base>
void TWhiteCenter<Base>::FillStore() {
  store_.clear();
  for (wxWindow* child : this->GetChildren()) {
    if (!IsStoredChild(child)) continue;
    StoredControl stored;
    stored.handle = child;
    stored.kind = KindOf(child);
    stored.rect = child->GetRect();
    // Rows follow the font here; the font's height stands for the item height.
    if (stored.kind != StoredKind::kOther) stored.item_height = child->GetCharHeight();
    if (stored.kind == StoredKind::kComboBox) stored.field_height = child->GetCharHeight();
    store_.push_back(stored);
  }
}

// Only what the toolkit draws whole or complains about: labels across, and the indicator of
// a check box or radio button; an edit field or a list shows what room it gets.
template <typename Base>
void TWhiteCenter<Base>::MeasureNeeds() {
  needs_.clear();
  std::vector<wxRect> rects;
  for (const StoredControl& stored : store_) {
    const auto* child = static_cast<const wxWindow*>(stored.handle);
    // Across, the whole label as the toolkit would size the control; down, only what the
    // toolkit cannot draw smaller.
    wxSize need(0, 0);
    if (dynamic_cast<const wxCheckBox*>(child) != nullptr ||
        dynamic_cast<const wxRadioButton*>(child) != nullptr) {
      need = wxSize(child->GetBestSize().GetWidth(), ToolkitMinimumSize(child).GetHeight());
    } else if (dynamic_cast<const wxButton*>(child) != nullptr) {
      need.SetWidth(child->GetBestSize().GetWidth());
    } else if (dynamic_cast<const wxStaticBox*>(child) != nullptr ||
               dynamic_cast<const wxStaticText*>(child) != nullptr) {
      need.SetWidth(ToolkitMinimumSize(child).GetWidth());
    }
    needs_.push_back(need);
    rects.push_back(stored.rect);
  }
  arrangements_.clear();
  arrangements_.push_back({initial_client_size_, rects, FloorOf(rects, needs_)});
}

template <typename Base>
void TWhiteCenter<Base>::AddArrangement(const std::vector<PlacedControl>& places,
                                        const wxSize& size) {
  // Dialog units as the resource's were read: in the font of the window it was loaded in,
  // then widened and grown with the font as the resource's controls were.
  const wxWindow* top = wxGetTopLevelParent(this);
  const wxWindow* units = top != nullptr ? top : this;
  const auto pixels = [&](const wxRect& r) {
    const wxRect loaded(units->ConvertDialogToPixels(r.GetPosition()),
                        units->ConvertDialogToPixels(r.GetSize()));
    return ScaleRect(lq::Widen(loaded, widening_), followed_);
  };
  std::vector<wxRect> rects;
  for (const StoredControl& stored : store_) {
    const auto* child = static_cast<const wxWindow*>(stored.handle);
    wxRect rect = stored.rect;
    for (const PlacedControl& place : places) {
      // Resources give group boxes and texts ids of the toolkit's own: they go by label, as
      // the resource translated it.
      const bool named =
          place.id != wxID_ANY
              ? place.id == child->GetId()
              : place.label != nullptr && child->GetId() < 0 &&
                    child->GetLabel() == wxGetTranslation(wxString::FromUTF8(place.label));
      if (named) rect = pixels(place.units);
    }
    rects.push_back(rect);
  }
  // On the grid as the resource's own arrangement is, but for want of room one step from the
  // edges; the size given is what it fills.
  constexpr SpacingGrid kNarrow{.margin = SpacingGrid{}.step};
  std::vector<bool> elastic;
  for (const StoredControl& stored : store_) {
    elastic.push_back(IsElastic(static_cast<const wxWindow*>(stored.handle)));
  }
  rects = OnSpacingGrid(rects, kNarrow, elastic);
  const wxSize laid = pixels(wxRect(wxPoint(0, 0), size)).GetSize();
  const wxSize grid = GridClient(rects, kNarrow);
  const wxSize client(std::max(laid.GetWidth(), grid.GetWidth()),
                      std::max(laid.GetHeight(), grid.GetHeight()));
  arrangements_.push_back({client, rects, FloorOf(rects, needs_)});
  HoldAtSmallest();
}

// A dialog of its own can be made no smaller than its controls need, nor is it made larger
// than it was laid out for.
template <typename Base>
void TWhiteCenter<Base>::HoldAtSmallest() {
  if (!this->IsTopLevel()) return;
  const wxSize smallest = SmallestClient();
  this->SetMinClientSize(wxSize(std::min(smallest.GetWidth(), initial_client_size_.GetWidth()),
                                std::min(smallest.GetHeight(), initial_client_size_.GetHeight())));
}

template <typename Base>
wxSize TWhiteCenter<Base>::ClientFor(const wxSize& room) const {
  if (arrangements_.empty()) return room;
  const wxSize smallest =
      lq::SmallestClient(arrangements_[ArrangementFor(arrangements_, room.GetWidth())]);
  return {std::max(room.GetWidth(), smallest.GetWidth()),
          std::max(room.GetHeight(), smallest.GetHeight())};
}

template <typename Base>
wxSize TWhiteCenter<Base>::SmallestClient() const {
  if (arrangements_.empty()) return initial_client_size_;
  return lq::SmallestClient(arrangements_[ArrangementFor(arrangements_, 0)]);
}

template <typename Base>
void TWhiteCenter<Base>::Rescale(const wxSize& client) {
  if (arrangements_.empty()) return;
  arrangement_ = ArrangementFor(arrangements_, client.GetWidth());
  const Arrangement& arrangement = arrangements_[arrangement_];
  const ScaleFactors scale = FittedScale(arrangement, client);
  this->Freeze();
  wxFont font = initial_font_;
  const int initial_height = initial_font_.GetPixelSize().GetHeight();
  const int height = ScaledFontHeight(initial_height, FontFactor(arrangement, scale));
  if (initial_height > 0 && height > 0) {
    font.SetFractionalPointSize(initial_font_.GetFractionalPointSize() * height / initial_height);
  }
  const int min_item_height = std::abs(height);
  current_font_ = font;
  this->SetFont(font);
  GiveFont(this, font);
  for (std::size_t i = 0; i < store_.size(); ++i) {
    StoredControl placed = store_[i];
    placed.rect = arrangement.rects[i];
    // The handle is only a key: find the child it names, if it still exists.
    for (wxWindow* child : this->GetChildren()) {
      if (child != placed.handle) continue;
      // The toolkit cannot say whether a list is dropped down; a resize closes it anyway.
      wxRect rect = RescaleStored(placed, scale, min_item_height, false).rect;
      // At the floor the truncation may take the one pixel a label needs.
      rect.SetWidth(std::max(rect.GetWidth(), needs_[i].GetWidth()));
      rect.SetHeight(
          std::max(rect.GetHeight(), std::min(needs_[i].GetHeight(), placed.rect.GetHeight())));
      child->SetSize(rect);
      break;
    }
  }
  ++rescale_count_;
  this->Thaw();
  this->Refresh();
}

template <typename Base>
wxSize TWhiteCenter<Base>::DoGetBestSize() const {
  if (!this->IsTopLevel() && setup_size_.IsFullySpecified() && setup_size_ != wxSize(0, 0)) {
    return setup_size_;
  }
  return Base::DoGetBestSize();
}

template <typename Base>
void TWhiteCenter<Base>::StartDrag() {
  // The whole top-level window follows the pointer, whether this dialog is it or lives in it.
  wxWindow* top = wxGetTopLevelParent(this);
  if (top == nullptr) return;
  // Screen positions of the pointer itself: event positions are relative to a window that
  // moves under them.
  drag_pointer_ = wxGetMousePosition();
  drag_window_ = top->GetPosition();
  dragging_ = true;
  if (!this->HasCapture()) this->CaptureMouse();
}

template <typename Base>
void TWhiteCenter<Base>::EndDrag() {
  dragging_ = false;
  if (this->HasCapture()) this->ReleaseMouse();
}

template <typename Base>
void TWhiteCenter<Base>::OnLeftDown(wxMouseEvent&) {
  StartDrag();
}

template <typename Base>
void TWhiteCenter<Base>::OnLeftUp(wxMouseEvent& event) {
  EndDrag();
  event.Skip();
}

template <typename Base>
void TWhiteCenter<Base>::OnMotion(wxMouseEvent& event) {
  if (dragging_) {
    wxWindow* top = wxGetTopLevelParent(this);
    if (OnWayland()) {
      // A Wayland compositor moves windows only itself: the move goes to it while the button
      // that began the drag is still held, and it follows the pointer from there.
      const int button = event.LeftIsDown() ? 1 : event.RightIsDown() ? 3 : 0;
      EndDrag();
      BeginCompositorMove(top, button, drag_pointer_, event.GetTimestamp());
    } else if (top != nullptr) {
      top->Move(drag_window_ + (wxGetMousePosition() - drag_pointer_));
    }
    return;
  }
  event.Skip();
}

template <typename Base>
void TWhiteCenter<Base>::OnCaptureLost(wxMouseCaptureLostEvent&) {
  dragging_ = false;
}

template <typename Base>
void TWhiteCenter<Base>::OnRightDown(wxMouseEvent&) {
  right_pressed_ = true;
  // Without a popup the right button drags like the left.
  if (menu_ == nullptr) StartDrag();
}

template <typename Base>
void TWhiteCenter<Base>::OnRightUp(wxMouseEvent& event) {
  const bool was_pressed = right_pressed_;
  right_pressed_ = false;
  if (menu_ == nullptr) {
    EndDrag();
    return;
  }
  if (was_pressed) ShowPopupMenu(this, *menu_, menu_name_, event.GetPosition());
}

template <typename Base>
void TWhiteCenter<Base>::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  // The hover highlights of the controls, around them on the dialog. A focused field wears
  // the theme's own focus border, as GTK's fields do: no frame of ours around it.
  for (wxWindow* child : this->GetChildren()) {
    if (const TMouseLumen* lumen = LumenOf(child); lumen != nullptr && child->IsShown()) {
      PaintLumen(dc, *lumen);
    }
  }
}

template <typename Base>
void TWhiteCenter<Base>::OnSize(wxSizeEvent& event) {
  event.Skip();
  if (tracker_) {
    // A panel shows with its frame; a dialog of its own only once shown.
    const bool visible = this->IsShown();
    const bool ctrl_down = visible && wxGetKeyState(WXK_CONTROL);
    // A dialog of its own learns its real frame as it maps; its client is what is inside.
    if (this->IsTopLevel()) tracker_->FrameIs(this->GetSize() - this->GetClientSize());
    if (ctrl_down) {
      this->Refresh();
    } else if (auto client = tracker_->OnSizeChanged(this->GetSize(), visible, false)) {
      Rescale(*client);
    }
  }
  ClientResized(this->GetClientSize());
}

template class TWhiteCenter<wxDialog>;
template class TWhiteCenter<wxPanel>;

}  // namespace lq
