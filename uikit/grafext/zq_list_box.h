#pragma once

#include <wx/vscroll.h>

#include <memory>

#include "engine/file_list.h"
#include "platform/gtk_list_accessible.h"
#include "uikit/grafext/controls.h"

namespace lq {

// The file list: a virtual list that draws only the rows in view, straight from the FileList
// it shows, so that a million names cost the list nothing but their own store. Clicks and
// keys select as list boxes do (Shift extends from the anchor, Ctrl toggles or moves the
// focus alone) and change the FileList itself; every such change is told to the parent with
// wxEVT_LISTBOX, a double click with wxEVT_LISTBOX_DCLICK. A right click selects the item
// under the pointer (keeping a selection it falls in) and then opens the list's popup; the
// Menu key and Shift+F10 open it below the focused row. Keys with Alt, Del and the Ctrl
// letters but Ctrl+A pass on to the menu bar's mnemonics and shortcuts. While it has the
// focus, the focused row is framed.
// XRC creates it as class "TZQListBox".
class TZQListBox : public LitControl<wxHVScrolledWindow, LumenKind::kListOrRadio> {
 public:
  TZQListBox();
  ~TZQListBox() override;
  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style,
              const wxString& name);

  // The list shown and changed; null shows nothing.
  void ShowList(FileList* list);
  // The list changed outside: rows, width and the focused item brought into view.
  void ListChanged();

  int RowCount() const { return list_ != nullptr ? list_->Count() : 0; }
  // The text a row shows.
  wxString RowText(int i) const;
  int FocusedItem() const { return list_ != nullptr ? list_->Selected() : -1; }
  bool IsItemSelected(int i) const { return list_ != nullptr && list_->IsSelected(i); }
  // The item at a point of the client area, or wxNOT_FOUND.
  int HitTest(const wxPoint& point) const;
  // Where item i is drawn in the client area (outside it when it is not in view).
  wxRect ItemRect(int i) const;
  // Scrolls as little as needed for item i to be wholly in view.
  void ShowItem(int i);
  // Rows wholly in view at once.
  int RowsPerPage() const;
  // More rows than the list shows: the vertical scroll bar is up.
  bool RowsOverflow() const { return RowCount() > RowsPerPage(); }

  bool SetFont(const wxFont& font) override;

  // The rows as screen readers are told of them.
  AccessibleRows& RowsForReaders();

 protected:
  AccessibleRole ReaderRole() const override { return AccessibleRole::kList; }
  void RightPress(wxMouseEvent& event) override;
  void RightRelease(wxMouseEvent& event) override;

 private:
  wxCoord OnGetRowHeight(size_t row) const override;
  wxCoord OnGetColumnWidth(size_t column) const override;

  void OnPaint(wxPaintEvent& event);
  void OnLeftDown(wxMouseEvent& event);
  void OnLeftDClick(wxMouseEvent& event);
  void OnKeyDown(wxKeyEvent& event);
  void OnFocusChange(wxFocusEvent& event);
  // A click on item: alone, with Ctrl (toggle) or with Shift (from the anchor).
  void ClickItem(int item, bool shift, bool ctrl);
  // The focus goes to item by a key: the selection follows unless Ctrl holds it.
  void KeyTo(int item, bool shift, bool ctrl);
  void Notify(wxEventType type);
  void PopupFromKeyboard();
  static void DrawFocusFrame(wxDC& dc, const wxRect& rect, const wxColour& colour);
  void MeasureRows();
  int Anchor() const;

  class ReaderRows;

  FileList* list_ = nullptr;
  std::unique_ptr<ReaderRows> reader_rows_;
  std::unique_ptr<ListReader> reader_;  // goes before the rows it reads
  int anchor_ = -1;
  int row_height_ = 1;
  int widest_ = 0;  // pixels of the longest name, padding included
  wxDECLARE_DYNAMIC_CLASS(TZQListBox);
};

}  // namespace lq
