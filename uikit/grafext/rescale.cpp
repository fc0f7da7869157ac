#include "uikit/grafext/rescale.h"

#include <wx/defs.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>

namespace lq {
namespace {

struct LastSize {
  bool known = false;
  wxSize size;
};

LastSize& SharedLastSize() {
  static LastSize last;
  return last;
}

int Scaled(int value, float scale) { return static_cast<int>(static_cast<float>(value) * scale); }

}  // namespace

double WideningFactor(const wxSize& thousand_units_in_pixels) {
  if (thousand_units_in_pixels.GetWidth() == 0) return 1.0;
  return static_cast<double>(thousand_units_in_pixels.GetHeight()) /
         thousand_units_in_pixels.GetWidth() * 1.125;
}

wxRect Widen(const wxRect& rect, double f) {
  return {static_cast<int>(rect.GetX() * f), rect.GetY(), static_cast<int>(rect.GetWidth() * f),
          rect.GetHeight()};
}

std::optional<ScaleFactors> FontFollowing(const wxSize& laid_out_letter,
                                          const wxSize& font_letter) {
  if (laid_out_letter.GetWidth() <= 0 || laid_out_letter.GetHeight() <= 0 ||
      font_letter.GetWidth() <= 0 || font_letter.GetHeight() <= 0) {
    return std::nullopt;
  }
  // Only growing: a smaller font keeps the layout, whose controls GTK would not make smaller.
  const ScaleFactors scale{
      std::max(1.0f, static_cast<float>(font_letter.GetWidth()) / laid_out_letter.GetWidth()),
      std::max(1.0f, static_cast<float>(font_letter.GetHeight()) / laid_out_letter.GetHeight())};
  if (scale.x < 1.01f && scale.y < 1.01f) return std::nullopt;
  return scale;
}

wxRect ScaleRect(const wxRect& rect, const ScaleFactors& scale) {
  const auto x = [&](int v) { return static_cast<int>(std::lround(v * scale.x)); };
  const auto y = [&](int v) { return static_cast<int>(std::lround(v * scale.y)); };
  // Edges are scaled, not sizes, so that controls that touch still touch.
  const int left = x(rect.GetLeft());
  const int top = y(rect.GetTop());
  return {left, top, x(rect.GetLeft() + rect.GetWidth()) - left,
          y(rect.GetTop() + rect.GetHeight()) - top};
}

wxSize SizeHoldingAll(const std::vector<wxRect>& rects, const wxSize& size, int margin) {
  int right = 0;
  int bottom = 0;
  for (const wxRect& r : rects) {
    right = std::max(right, r.GetLeft() + r.GetWidth() + margin);
    bottom = std::max(bottom, r.GetTop() + r.GetHeight() + margin);
  }
  return {std::max(size.GetWidth(), right), std::max(size.GetHeight(), bottom)};
}

bool RescalesWithDialog(int id) {
  if (id >= wxID_LOWEST && id <= wxID_HIGHEST) return true;
  return id < 1000;
}

std::string StoreLine(const StoredControl& stored) {
  std::ostringstream line;
  line << reinterpret_cast<std::uintptr_t>(stored.handle) << ',' << stored.rect.GetX() << ','
       << stored.rect.GetY() << ',' << stored.rect.GetWidth() << ',' << stored.rect.GetHeight()
       << ',' << stored.field_height << ',' << stored.item_height;
  return line.str();
}

ScaleFactors ScaleFor(const wxSize& client, const wxSize& initial) {
  if (initial.GetWidth() == 0 || initial.GetHeight() == 0) return {1, 1};
  return {static_cast<float>(client.GetWidth()) / static_cast<float>(initial.GetWidth()),
          static_cast<float>(client.GetHeight()) / static_cast<float>(initial.GetHeight())};
}

int ScaledFontHeight(int initial_height, float scale_y) { return Scaled(initial_height, scale_y); }

RescaledControl RescaleStored(const StoredControl& stored, ScaleFactors scale, int min_item_height,
                              bool dropped) {
  RescaledControl out;
  out.rect = {Scaled(stored.rect.GetX(), scale.x), Scaled(stored.rect.GetY(), scale.y),
              Scaled(stored.rect.GetWidth(), scale.x), Scaled(stored.rect.GetHeight(), scale.y)};
  const int item = std::max(Scaled(stored.item_height, scale.y), min_item_height);
  const int field = std::max(Scaled(stored.field_height, scale.y), min_item_height);
  switch (stored.kind) {
    case StoredKind::kComboBox:
      if (dropped) {
        out.field_height = field;
      } else if (scale.y > 1) {
        out.rect.SetHeight(stored.rect.GetHeight());
      }
      out.item_height = item;
      break;
    case StoredKind::kListBox:
      out.item_height = item;
      break;
    case StoredKind::kOther:
      break;
  }
  return out;
}

std::optional<wxSize> RescaleTracker::OnSizeChanged(const wxSize& outer, bool visible,
                                                    bool ctrl_down) {
  if (!visible || ctrl_down) return std::nullopt;
  if (first_size_) frame_ = outer - initial_client_;
  const wxSize client = outer - frame_;
  LastSize& last = SharedLastSize();
  if (!first_size_ && last.known && last.size == client) return std::nullopt;
  last.known = true;
  last.size = client;
  first_size_ = false;
  return client;
}

void RescaleTracker::FrameIs(const wxSize& frame) {
  if (!first_size_) frame_ = frame;
}

void RescaleTracker::ForgetLastSize() { SharedLastSize() = LastSize{}; }

}  // namespace lq

namespace lq {

ScaleFactors FloorOf(const std::vector<wxRect>& rects, const std::vector<wxSize>& needs) {
  ScaleFactors floor{0, 0};
  // A pixel to spare: scaled rectangles are rounded, and a need met exactly may lose one.
  const auto over = [](int need, int room) {
    return static_cast<float>(need + 1) / static_cast<float>(room);
  };
  for (std::size_t i = 0; i < rects.size() && i < needs.size(); ++i) {
    if (rects[i].GetWidth() > 0 && needs[i].GetWidth() > 0) {
      floor.x = std::max(floor.x, over(needs[i].GetWidth(), rects[i].GetWidth()));
    }
    if (rects[i].GetHeight() > 0 && needs[i].GetHeight() > 0) {
      floor.y = std::max(floor.y, over(needs[i].GetHeight(), rects[i].GetHeight()));
    }
  }
  floor.y = std::min(floor.y, 1.0f);
  return floor;
}

wxSize SmallestClient(const Arrangement& arrangement) {
  const auto up = [](int value, float scale) {
    return static_cast<int>(std::ceil(static_cast<float>(value) * scale));
  };
  return {up(arrangement.initial.GetWidth(), arrangement.floor.x),
          up(arrangement.initial.GetHeight(), arrangement.floor.y)};
}

std::size_t ArrangementFor(const std::vector<Arrangement>& arrangements, int width) {
  std::size_t narrowest = 0;
  for (std::size_t i = 0; i < arrangements.size(); ++i) {
    const int smallest = SmallestClient(arrangements[i]).GetWidth();
    if (width >= smallest) return i;
    if (smallest < SmallestClient(arrangements[narrowest]).GetWidth()) narrowest = i;
  }
  return narrowest;
}

ScaleFactors FittedScale(const Arrangement& arrangement, const wxSize& client) {
  const ScaleFactors scale = ScaleFor(client, arrangement.initial);
  return {std::max(scale.x, arrangement.floor.x), std::max(scale.y, arrangement.floor.y)};
}

float FontFactor(const Arrangement& arrangement, const ScaleFactors& scale) {
  // Labels were measured in the initial font: they fit while the width grows at least as
  // much as the font does beyond it. Labels the arrangement itself cuts (a floor above 1)
  // stay no more cut than there: the font then grows with the width.
  const float room = std::min(arrangement.floor.x, 1.0f);
  const float across = room > 0 ? std::max(1.0f, scale.x / room) : scale.y;
  return std::max(std::min(scale.y, across), arrangement.floor.y);
}

}  // namespace lq
