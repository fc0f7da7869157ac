#include "uikit/grafext/spoken_name.h"

#include <array>
#include <cctype>
#include <utility>

namespace lq {
namespace {

struct Mending {
  std::string_view typo;
  std::string_view right;
};

// Every typo the design's texts keep.
constexpr std::array<Mending, 5> kMendings{{
    {"Paht", "Path"},
    {",,,", "..."},
    {"Vew", "View"},
    {"assocation", "association"},
    {"informations", "information"},
}};

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// A typo of letters inside a longer word is some other word.
bool IsWholeWord(std::string_view text, std::size_t at, std::string_view typo) {
  if (!IsLetter(typo.front())) return true;
  const std::size_t end = at + typo.size();
  return (at == 0 || !IsLetter(text[at - 1])) && (end == text.size() || !IsLetter(text[end]));
}

}  // namespace

std::string SpokenName(std::string_view text) {
  std::string spoken;
  spoken.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    bool mended = false;
    for (const Mending& m : kMendings) {
      if (text.substr(i, m.typo.size()) == m.typo && IsWholeWord(text, i, m.typo)) {
        spoken += m.right;
        i += m.typo.size();
        mended = true;
        break;
      }
    }
    if (!mended) spoken.push_back(text[i++]);
  }
  return spoken;
}

}  // namespace lq
