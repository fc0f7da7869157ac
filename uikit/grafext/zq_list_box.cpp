#include "uikit/grafext/zq_list_box.h"

#include <wx/dcclient.h>
#include <wx/module.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>

#include "uikit/grafext/menu_shortcut.h"

namespace lq {

wxIMPLEMENT_DYNAMIC_CLASS(TZQListBox, wxHVScrolledWindow);

namespace {

constexpr int kPadX = 4;
constexpr int kPadY = 2;
// Horizontal scrolling goes by columns of this many pixels.
constexpr int kColumnPx = 16;

// Creates the list from XRC: <object class="TZQListBox">.
class ListBoxXmlHandler : public wxXmlResourceHandler {
 public:
  ListBoxXmlHandler() { AddWindowStyles(); }
  wxObject* DoCreateResource() override {
    XRC_MAKE_INSTANCE(list, TZQListBox)
    list->Create(m_parentAsWindow, GetID(), GetPosition(), GetSize(), GetStyle(), GetName());
    SetupWindow(list);
    return list;
  }
  bool CanHandle(wxXmlNode* node) override { return IsOfClass(node, "TZQListBox"); }
};

// Registers the XRC handler when the toolkit starts, before any resource is loaded.
class ListBoxModule : public wxModule {
 public:
  bool OnInit() override {
    wxXmlResource::Get()->AddHandler(new ListBoxXmlHandler);
    return true;
  }
  void OnExit() override {}
  wxDECLARE_DYNAMIC_CLASS(ListBoxModule);
};
wxIMPLEMENT_DYNAMIC_CLASS(ListBoxModule, wxModule);

}  // namespace

// The rows as the list shows them, and what a reader may do with them, as clicks would.
class TZQListBox::ReaderRows final : public AccessibleRows {
 public:
  explicit ReaderRows(TZQListBox& box) : box_(box) {}

  int RowCount() const override { return box_.RowCount(); }
  std::string RowName(int row) const override { return box_.RowText(row).utf8_string(); }
  bool RowSelected(int row) const override { return box_.IsItemSelected(row); }
  int SelectedRowCount() const override {
    return box_.list_ != nullptr ? box_.list_->SelectedCount() : 0;
  }
  int NthSelectedRow(int n) const override {
    if (box_.list_ == nullptr || n < 0) return -1;
    for (const IndexRange& range : box_.list_->SelectedRanges()) {
      if (n < range.end - range.begin) return range.begin + n;
      n -= range.end - range.begin;
    }
    return -1;
  }
  int FocusedRow() const override { return box_.FocusedItem(); }
  bool RowArea(int row, Area& area) const override {
    const wxRect rect = box_.ItemRect(row);
    area = {rect.x, rect.y, rect.width, rect.height};
    return Valid(row) && rect.Intersects(wxRect(box_.GetClientSize()));
  }
  void SetRowSelected(int row, bool on) override {
    if (!Valid(row) || box_.list_->IsSelected(row) == on) return;
    if (on && box_.list_->SelectedCount() == 0) {
      box_.list_->Select(row);
    } else {
      box_.list_->SetSelected({row, row + 1}, on);
      if (on) box_.list_->Focus(row);
    }
    box_.anchor_ = row;
    if (on) box_.ShowItem(row);
    Changed();
  }
  void SelectAllRows(bool on) override {
    if (box_.list_ == nullptr) return;
    if (on) {
      box_.list_->SelectAll();
    } else {
      box_.list_->ClearSelection();
    }
    Changed();
  }
  void ClickRow(int row) override {
    if (!Valid(row)) return;
    box_.ClickItem(row, false, false);
    box_.ShowItem(row);
  }
  void OpenMenu() override { box_.PopupFromKeyboard(); }

 private:
  bool Valid(int row) const { return row >= 0 && row < box_.RowCount(); }
  void Changed() {
    box_.Refresh();
    box_.Notify(wxEVT_LISTBOX);
  }

  TZQListBox& box_;
};

TZQListBox::TZQListBox() : reader_rows_(std::make_unique<ReaderRows>(*this)) {
  Bind(wxEVT_PAINT, &TZQListBox::OnPaint, this);
  Bind(wxEVT_LEFT_DOWN, &TZQListBox::OnLeftDown, this);
  Bind(wxEVT_LEFT_DCLICK, &TZQListBox::OnLeftDClick, this);
  Bind(wxEVT_KEY_DOWN, &TZQListBox::OnKeyDown, this);
  Bind(wxEVT_SET_FOCUS, &TZQListBox::OnFocusChange, this);
  Bind(wxEVT_KILL_FOCUS, &TZQListBox::OnFocusChange, this);
  // The toolkit's own Menu or Shift+F10, where a key press did not come first.
  Bind(wxEVT_CONTEXT_MENU, [this](wxContextMenuEvent&) { PopupFromKeyboard(); });
  // A pointer that jumps onto the list brings an entry and maybe no move: it counts as one.
  Bind(wxEVT_ENTER_WINDOW, [this](wxMouseEvent& event) {
    behaviour_.RaiseHint();
    Hovered(event);
    event.Skip();
  });
}

TZQListBox::~TZQListBox() = default;

AccessibleRows& TZQListBox::RowsForReaders() { return *reader_rows_; }

bool TZQListBox::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                        long style, const wxString& name) {
  if (!wxHVScrolledWindow::Create(parent, id, pos, size, style | wxWANTS_CHARS, name)) {
    return false;
  }
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOX));
  MeasureRows();
  SetRowColumnCount(0, 0);
#ifdef __WXGTK__
  reader_ = AttachListReader(GetHandle(), *reader_rows_);
#endif
  return true;
}

void TZQListBox::ShowList(FileList* list) {
  list_ = list;
  ListChanged();
}

void TZQListBox::ListChanged() {
  anchor_ = -1;  // its item may have moved or gone: Shift starts from the focus again
  // The widest name decides the horizontal scroll; the longest in bytes stands for it, so
  // that a change measures one text, not every name.
  const std::string* longest = nullptr;
  for (int i = 0; i < RowCount(); ++i) {
    const std::string* name = list_->Item(i);
    if (longest == nullptr || name->size() > longest->size()) longest = name;
  }
  widest_ = longest != nullptr ? GetTextExtent(wxString::FromUTF8(*longest)).GetWidth() : 0;
  widest_ += 2 * kPadX;
  const int columns = (widest_ + kColumnPx - 1) / kColumnPx;
  SetRowColumnCount(static_cast<size_t>(RowCount()), static_cast<size_t>(columns));
  if (FocusedItem() >= 0) ShowItem(FocusedItem());
  Refresh();
  if (reader_ != nullptr) reader_->RowsChanged();
}

wxString TZQListBox::RowText(int i) const {
  const std::string* name = list_ != nullptr ? list_->Item(i) : nullptr;
  return name != nullptr ? wxString::FromUTF8(*name) : wxString();
}

int TZQListBox::HitTest(const wxPoint& point) const {
  const wxSize client = GetClientSize();
  if (point.x < 0 || point.y < 0 || point.x >= client.x || point.y >= client.y) return wxNOT_FOUND;
  const int row = static_cast<int>(GetVisibleRowsBegin()) + point.y / row_height_;
  return row < RowCount() ? row : wxNOT_FOUND;
}

wxRect TZQListBox::ItemRect(int i) const {
  const int first = static_cast<int>(GetVisibleRowsBegin());
  return wxRect(0, (i - first) * row_height_, GetClientSize().x, row_height_);
}

int TZQListBox::RowsPerPage() const { return std::max(1, GetClientSize().y / row_height_); }

void TZQListBox::ShowItem(int i) {
  if (i < 0 || i >= RowCount()) return;
  const int first = static_cast<int>(GetVisibleRowsBegin());
  const int page = RowsPerPage();
  if (i < first) {
    ScrollToRow(static_cast<size_t>(i));
  } else if (i >= first + page) {
    ScrollToRow(static_cast<size_t>(i - page + 1));
  }
}

bool TZQListBox::SetFont(const wxFont& font) {
  const bool changed = wxHVScrolledWindow::SetFont(font);
  MeasureRows();
  if (list_ != nullptr) {
    ListChanged();
  } else {
    SetRowColumnCount(0, 0);
  }
  return changed;
}

void TZQListBox::MeasureRows() { row_height_ = std::max(1, GetCharHeight() + 2 * kPadY); }

wxCoord TZQListBox::OnGetRowHeight(size_t) const { return row_height_; }

wxCoord TZQListBox::OnGetColumnWidth(size_t) const { return kColumnPx; }

void TZQListBox::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  const wxSize client = GetClientSize();
  dc.SetBackground(wxBrush(GetBackgroundColour()));
  dc.Clear();
  const bool focused = HasFocus();
  const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_LISTBOXTEXT);
  if (list_ == nullptr) {
    if (focused) DrawFocusFrame(dc, wxRect(client), text);
    return;
  }
  dc.SetFont(GetFont());
  wxRendererNative& renderer = wxRendererNative::Get();
  const int first = static_cast<int>(GetVisibleRowsBegin());
  const int x = kPadX - static_cast<int>(GetVisibleColumnsBegin()) * kColumnPx;
  const wxColour highlighted = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT);
  const int end = std::min(RowCount(), first + client.y / row_height_ + 1);
  for (int i = first; i < end; ++i) {
    const wxRect row(0, (i - first) * row_height_, client.x, row_height_);
    const bool selected = list_->IsSelected(i);
    if (selected) {
      renderer.DrawItemSelectionRect(
          this, dc, row,
          focused ? wxCONTROL_SELECTED | wxCONTROL_FOCUSED : int{wxCONTROL_SELECTED});
    }
    dc.SetTextForeground(selected ? highlighted : text);
    dc.DrawText(RowText(i), x, row.y + kPadY);
    // The theme's focus outline can be faint or dotted away; a frame in the row's own text
    // colour reads wherever the text does.
    if (focused && i == list_->Selected()) DrawFocusFrame(dc, row, selected ? highlighted : text);
  }
  // An empty list shows that it has the focus all the same.
  if (focused && RowCount() == 0) DrawFocusFrame(dc, wxRect(client), text);
}

void TZQListBox::DrawFocusFrame(wxDC& dc, const wxRect& rect, const wxColour& colour) {
  dc.SetPen(wxPen(colour, 1));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(wxRect(rect).Deflate(1));
}

int TZQListBox::Anchor() const {
  if (anchor_ >= 0 && anchor_ < RowCount()) return anchor_;
  return std::max(FocusedItem(), 0);
}

void TZQListBox::ClickItem(int item, bool shift, bool ctrl) {
  if (shift) {
    const int anchor = Anchor();
    if (!ctrl) list_->ClearSelection();
    list_->SetSelected({std::min(anchor, item), std::max(anchor, item) + 1}, true);
    list_->Focus(item);
    anchor_ = anchor;
  } else if (ctrl) {
    list_->SetSelected({item, item + 1}, !list_->IsSelected(item));
    list_->Focus(item);
    anchor_ = item;
  } else {
    list_->Select(item);
    anchor_ = item;
  }
  Refresh();
  Notify(wxEVT_LISTBOX);
}

void TZQListBox::KeyTo(int item, bool shift, bool ctrl) {
  item = std::clamp(item, 0, RowCount() - 1);
  if (ctrl && !shift) {
    list_->Focus(item);
    Refresh();
    ShowItem(item);
    Notify(wxEVT_LISTBOX);
    return;
  }
  ClickItem(item, shift, false);
  ShowItem(item);
}

void TZQListBox::OnLeftDown(wxMouseEvent& event) {
  SetFocus();
  const int item = HitTest(event.GetPosition());
  if (item != wxNOT_FOUND && list_ != nullptr) {
    ClickItem(item, event.ShiftDown(), event.ControlDown());
  }
}

void TZQListBox::OnLeftDClick(wxMouseEvent& event) {
  if (HitTest(event.GetPosition()) != wxNOT_FOUND) Notify(wxEVT_LISTBOX_DCLICK);
}

void TZQListBox::OnKeyDown(wxKeyEvent& event) {
  const int code = event.GetKeyCode();
  // The list takes wxWANTS_CHARS for its arrows; Tab still goes on to the next control.
  if ((code == WXK_TAB || code == WXK_NUMPAD_TAB) && !event.ControlDown() && !event.AltDown()) {
    Navigate(event.ShiftDown() ? wxNavigationKeyEvent::IsBackward
                               : wxNavigationKeyEvent::IsForward);
    return;
  }
  if (code == WXK_WINDOWS_MENU || (code == WXK_F10 && event.GetModifiers() == wxMOD_SHIFT)) {
    PopupFromKeyboard();
    return;
  }
  // Alt with any key belongs to the menus: their mnemonics and shortcuts (Alt+Up moves the
  // selected items), which the scrolled window would take for scrolling unless run here.
  // Del, Ctrl+C and the like are menu shortcuts too and pass on.
  if (event.AltDown()) {
    if (!RunMenuShortcut(this, event)) event.Skip();
    return;
  }
  if (list_ == nullptr || list_->Empty()) {
    event.Skip();
    return;
  }
  const int focus = FocusedItem();
  const int page = std::max(1, RowsPerPage() - 1);
  const bool shift = event.ShiftDown();
  const bool ctrl = event.ControlDown();
  switch (code) {
    case WXK_UP:
    case WXK_NUMPAD_UP:
      KeyTo(focus - 1, shift, ctrl);
      return;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
      KeyTo(focus + 1, shift, ctrl);
      return;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
      KeyTo(focus - page, shift, ctrl);
      return;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
      KeyTo(focus + page, shift, ctrl);
      return;
    case WXK_HOME:
    case WXK_NUMPAD_HOME:
      KeyTo(0, shift, ctrl);
      return;
    case WXK_END:
    case WXK_NUMPAD_END:
      KeyTo(RowCount() - 1, shift, ctrl);
      return;
    case WXK_SPACE:
      if (focus >= 0) ClickItem(focus, false, ctrl);
      return;
    case 'A':
      if (ctrl) {
        list_->SelectAll();
        Refresh();
        Notify(wxEVT_LISTBOX);
        return;
      }
      break;
    default:
      break;
  }
  event.Skip();
}

void TZQListBox::OnFocusChange(wxFocusEvent& event) {
  Refresh();  // the selection's colour and the focus frame follow the focus
  event.Skip();
}

void TZQListBox::Notify(wxEventType type) {
  wxCommandEvent notify(type, GetId());
  notify.SetEventObject(this);
  notify.SetInt(FocusedItem());
  ProcessWindowEvent(notify);
  if (reader_ != nullptr) reader_->SelectionChanged();
}

void TZQListBox::RightPress(wxMouseEvent& event) {
  // A right press acts as a left press on the item under the pointer, but keeps a selection
  // it falls in, for the popup's commands; the focus comes after, as a click gives it.
  const int item = HitTest(event.GetPosition());
  if (item != wxNOT_FOUND && list_ != nullptr) {
    if (list_->IsSelected(item)) {
      list_->Focus(item);
      anchor_ = item;
      Refresh();
      Notify(wxEVT_LISTBOX);
    } else {
      ClickItem(item, false, false);
    }
  }
  SetFocus();
}

void TZQListBox::RightRelease(wxMouseEvent& event) { behaviour_.PopupAt(event.GetPosition()); }

void TZQListBox::PopupFromKeyboard() {
  // Below the focused row, as a right click on it would put it; at the top without one.
  const wxSize client = GetClientSize();
  const int focus = FocusedItem();
  wxPoint at(kPadX, kPadY);
  if (focus >= 0) {
    ShowItem(focus);
    at.y = std::clamp(ItemRect(focus).GetBottom(), 0, std::max(0, client.y - 1));
  }
  behaviour_.PopupAt(at);
}

}  // namespace lq
