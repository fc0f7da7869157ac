#include "shell/fit_view.h"

#include <algorithm>

namespace lq {
namespace {

// Room the view keeps for the dialog however short the window is made: a few rows of it,
// the rest scrolled to.
constexpr int kSmallestRoomHeight = 120;

}  // namespace

TFitView::TFitView(wxWindow* parent)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxHSCROLL | wxVSCROLL | wxBORDER_NONE) {
  SetScrollRate(8, 8);
  // The grey of the dialog behind a dialog narrower than the view.
  SetBackgroundColour(TWhiteCenterPanel::BackgroundColour());
  Bind(wxEVT_SIZE, &TFitView::OnSize, this);
}

void TFitView::Hold(TWhiteCenterPanel* dialog) {
  dialog_ = dialog;
  dialog->Reparent(this);
  dialog->Move(0, 0);
  Place();
}

wxSize TFitView::SmallestRoom() const {
  if (dialog_ == nullptr) return {0, 0};
  const wxSize smallest = dialog_->SmallestClient();
  return {smallest.GetWidth(), std::min(smallest.GetHeight(), kSmallestRoomHeight)};
}

wxSize TFitView::DoGetBestSize() const {
  return dialog_ != nullptr ? dialog_->GetBestSize() : wxScrolledWindow::DoGetBestSize();
}

void TFitView::OnSize(wxSizeEvent& event) {
  event.Skip();
  Place();
}

void TFitView::Place() {
  if (dialog_ == nullptr) return;
  // The room without scroll bars, as the view would be with none.
  const wxSize room = GetSize();
  const wxSize size = dialog_->ClientFor(room);
  SetVirtualSize(size);
  const wxSize shown = GetClientSize();
  // Where a scroll bar takes room after all, the dialog lays out for what is left.
  const wxSize fitted = dialog_->ClientFor(
      wxSize(size.GetWidth() > room.GetWidth() ? size.GetWidth() : shown.GetWidth(),
             size.GetHeight() > room.GetHeight() ? size.GetHeight() : shown.GetHeight()));
  SetVirtualSize(fitted);
  dialog_->SetSize(wxRect(CalcScrolledPosition(wxPoint(0, 0)), fitted));
}

}  // namespace lq
