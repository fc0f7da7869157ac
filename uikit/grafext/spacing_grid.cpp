#include "uikit/grafext/spacing_grid.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace lq {
namespace {

// One control along one axis, as laid out and as placed.
struct Span {
  int start = 0;
  int end = 0;  // one past the last pixel
};

int Up(int d, int step) { return d <= 0 ? 0 : (d + step - 1) / step * step; }
// The nearest multiple of step, the lower one at a tie: a distance within alignment of a
// multiple counts as that multiple.
int Nearest(int d, const SpacingGrid& grid) {
  if (d <= 0) return 0;
  const int below = d / grid.step * grid.step;
  return d - below <= std::min(grid.alignment, grid.step / 2) ? below : below + grid.step;
}
// A gap between two controls: a multiple of step, never less than one.
int Gap(int d, const SpacingGrid& grid) { return std::max(grid.step, Nearest(d, grid)); }

bool Overlap(int a0, int a1, int b0, int b1) { return std::min(a1, b1) > std::max(a0, b0); }

bool Contains(const wxRect& outer, const wxRect& inner) {
  return outer.GetWidth() * outer.GetHeight() > inner.GetWidth() * inner.GetHeight() &&
         wxRect(outer).Inflate(1).Contains(inner);
}

// Places every control along one axis (x when across, else y); returns the new spans.
std::vector<Span> PlaceAxis(const std::vector<wxRect>& rects, bool across, const SpacingGrid& grid,
                            const std::vector<bool>& elastic) {
  const std::size_t n = rects.size();
  std::vector<Span> was(n);
  std::vector<Span> other(n);
  for (std::size_t i = 0; i < n; ++i) {
    const wxRect& r = rects[i];
    was[i] = across ? Span{r.GetLeft(), r.GetLeft() + r.GetWidth()}
                    : Span{r.GetTop(), r.GetTop() + r.GetHeight()};
    other[i] = across ? Span{r.GetTop(), r.GetTop() + r.GetHeight()}
                      : Span{r.GetLeft(), r.GetLeft() + r.GetWidth()};
  }
  int first = 0;
  for (std::size_t i = 0; i < n; ++i) first = i == 0 ? was[i].start : std::min(first, was[i].start);

  // Earlier first, and a group before what it holds.
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (was[a].start != was[b].start) return was[a].start < was[b].start;
    return was[a].end - was[a].start > was[b].end - was[b].start;
  });

  // What lines up is what lies in one group (or in none): rows of two groups side by side
  // keep their own spacing.
  std::vector<std::size_t> group(n, n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t g = 0; g < n; ++g) {
      if (g == i || !Contains(rects[g], rects[i])) continue;
      if (group[i] == n || Contains(rects[group[i]], rects[g])) group[i] = g;
    }
  }
  std::vector<int> size(n);
  for (std::size_t i = 0; i < n; ++i) {
    const int d = was[i].end - was[i].start;
    const bool shrinks = across && i < elastic.size() && elastic[i];
    size[i] = shrinks && d > grid.step ? Nearest(d, grid) : Up(d, grid.step);
  }
  std::vector<Span> now(n);
  for (std::size_t i = 0; i < n; ++i) {
    now[i].start = grid.margin + Nearest(was[i].start - first, grid);
    now[i].end = now[i].start + size[i];
  }
  // Positions only grow, each bounded by what lies before it: a few rounds settle them.
  for (int round = 0; round < 64; ++round) {
    bool moved = false;
    const auto raise = [&moved](int& value, int at_least) {
      if (at_least > value) value = at_least, moved = true;
    };
    for (std::size_t c : order) {
      for (std::size_t p = 0; p < n; ++p) {
        if (p == c) continue;
        if (Contains(rects[p], rects[c])) {
          raise(now[c].start, now[p].start + Gap(was[c].start - was[p].start, grid));
        } else if (!Contains(rects[c], rects[p]) && was[p].end <= was[c].start + grid.alignment &&
                   Overlap(other[p].start, other[p].end, other[c].start, other[c].end)) {
          raise(now[c].start, now[p].end + Gap(was[c].start - was[p].end, grid));
        }
      }
      raise(now[c].end, now[c].start + size[c]);
    }
    // A group holds what it held, as far from its end as it was.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
      for (std::size_t c = 0; c < n; ++c) {
        if (c != *it && Contains(rects[*it], rects[c])) {
          raise(now[*it].end, now[c].end + Gap(was[*it].end - was[c].end, grid));
        }
      }
    }
    // What lined up still does: starts at the latest of them, ends at the latest.
    for (std::size_t a = 0; a < n; ++a) {
      for (std::size_t b = 0; b < n; ++b) {
        if (a == b || group[a] != group[b]) continue;
        if (std::abs(was[a].start - was[b].start) <= grid.alignment) {
          raise(now[a].start, now[b].start);
        }
        if (std::abs(was[a].end - was[b].end) <= grid.alignment) raise(now[a].end, now[b].end);
      }
    }
    if (!moved) break;
  }
  return now;
}

}  // namespace

std::vector<wxRect> OnSpacingGrid(const std::vector<wxRect>& rects, const SpacingGrid& grid,
                                  const std::vector<bool>& elastic_across) {
  const std::vector<Span> x = PlaceAxis(rects, true, grid, elastic_across);
  const std::vector<Span> y = PlaceAxis(rects, false, grid, elastic_across);
  std::vector<wxRect> placed;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    placed.emplace_back(x[i].start, y[i].start, x[i].end - x[i].start, y[i].end - y[i].start);
  }
  return placed;
}

wxSize GridClient(const std::vector<wxRect>& rects, const SpacingGrid& grid) {
  int width = 0;
  int height = 0;
  for (const wxRect& r : rects) {
    width = std::max(width, r.GetLeft() + r.GetWidth());
    height = std::max(height, r.GetTop() + r.GetHeight());
  }
  return {width + grid.margin, height + grid.margin};
}

}  // namespace lq
