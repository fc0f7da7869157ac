#include "engine/tail_scan.h"

namespace lq {

TailHits FindHitsFrom(std::string_view name, std::size_t from) {
  const std::string_view tail = name.substr(from);
  if constexpr (kHaveSse2) {
    constexpr std::size_t kWindow = 32;
    if (name.size() >= kWindow && tail.size() <= kWindow) {
      const Block32 window(name.data() + name.size() - kWindow);
      const unsigned skip = static_cast<unsigned>(kWindow - tail.size());  // bytes before from
      const std::uint32_t keep = skip == kWindow ? 0 : ~std::uint32_t{0} << skip;
      return TailHits{(window.Mask('\r') & keep) != 0, (window.Mask('Z') & keep) != 0};
    }
  }
  return TailHits{tail.find('\r') != std::string_view::npos,
                  tail.find('Z') != std::string_view::npos};
}

}  // namespace lq
