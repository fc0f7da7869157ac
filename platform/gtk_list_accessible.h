#pragma once

#include <memory>
#include <string>

namespace lq {

// What a list Loomquill draws itself tells assistive technology of its rows. The rows stay
// where the list keeps them; the reader's side asks for one row at a time.
class AccessibleRows {
 public:
  virtual ~AccessibleRows() = default;
  // Pixels in the list's client area.
  struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };

  virtual int RowCount() const = 0;
  // The text the row shows.
  virtual std::string RowName(int row) const = 0;
  virtual bool RowSelected(int row) const = 0;
  virtual int SelectedRowCount() const = 0;
  // The n-th selected row in list order, or -1.
  virtual int NthSelectedRow(int n) const = 0;
  // The row the keyboard is on, or -1.
  virtual int FocusedRow() const = 0;
  // Where the row is drawn (outside the client area when scrolled away); true when any of
  // it is in view.
  virtual bool RowArea(int row, Area& area) const = 0;
  // Adds the row to the selection or takes it out, as Ctrl with a click would.
  virtual void SetRowSelected(int row, bool on) = 0;
  virtual void SelectAllRows(bool on) = 0;
  // What a click on the row does: the focus and the only selection go to it.
  virtual void ClickRow(int row) = 0;
  // Opens the list's popup menu, as the Menu key does.
  virtual void OpenMenu() = 0;
};

// The reader's view of one list; while it lives, the widget's accessible object reads the
// rows it was given. The list tells it of its changes so that readers follow them.
class ListReader {
 public:
  virtual ~ListReader() = default;
  // Rows were added, removed or moved: the row objects readers hold are stale.
  virtual void RowsChanged() = 0;
  // The focused row or the selection may have changed.
  virtual void SelectionChanged() = 0;
};

// Gives widget (a GtkWidget*, as wxWindow::GetHandle gives it; for a scrolled window the
// widget inside it) an accessible object of role list whose children are the rows, made
// only when asked for. Null when widget is null.
std::unique_ptr<ListReader> AttachListReader(void* widget, AccessibleRows& rows);

}  // namespace lq
