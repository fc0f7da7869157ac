#include "engine/compiled_text.h"

#include <algorithm>

namespace lq {
namespace {

// The variable whose name starts text, or -1.
int VariableAt(std::string_view text) {
  for (std::size_t v = 0; v < kVariableNames.size(); ++v) {
    if (text.starts_with(kVariableNames[v])) return static_cast<int>(v);
  }
  return -1;
}

}  // namespace

void EraseCRsFrom(std::string& text, std::size_t from) {
  if (text.find('\r', from) == std::string::npos) return;
  text.erase(std::remove(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), '\r'),
             text.end());
}

unsigned VariablesIn(std::string_view text) {
  unsigned mask = 0;
  for (std::size_t at = text.find("ZQ_"); at != std::string_view::npos;
       at = text.find("ZQ_", at + 1)) {
    const int v = VariableAt(text.substr(at));
    if (v >= 0) mask |= 1u << v;
  }
  return mask;
}

CompiledText CompileText(std::string_view body, bool strip_cr) {
  CompiledText t;
  t.body = std::string(body);
  if (strip_cr) EraseCRsFrom(t.body, 0);
  t.vars = VariablesIn(t.body);
  std::size_t literal = 0;
  for (std::size_t at = t.body.find("ZQ_"); at != std::string::npos;) {
    const int v = VariableAt(std::string_view(t.body).substr(at));
    if (v < 0) {
      at = t.body.find("ZQ_", at + 1);
      continue;
    }
    if (at > literal) t.segments.push_back({literal, at - literal, -1});
    t.segments.push_back({at, kVariableNames[static_cast<std::size_t>(v)].size(), v});
    literal = at + kVariableNames[static_cast<std::size_t>(v)].size();
    at = t.body.find("ZQ_", literal);
  }
  if (literal < t.body.size()) t.segments.push_back({literal, t.body.size() - literal, -1});
  t.has_cr = t.body.find('\r') != std::string::npos;
  for (const CompiledText::Segment& s : t.segments) {
    if (s.var >= 0) {
      t.var_names_size += s.size;
      ++t.uses[static_cast<std::size_t>(s.var)];
    } else {
      const std::string_view lit = std::string_view(t.body).substr(s.from, s.size);
      t.literal_size +=
          lit.size() - static_cast<std::size_t>(std::count(lit.begin(), lit.end(), '\r'));
    }
  }
  for (const CompiledText::Segment& s : t.segments) {
    if (s.var >= 0) continue;
    const std::string_view lit = std::string_view(t.body).substr(s.from, s.size);
    if (lit.find("ZQ_") != std::string_view::npos || lit.ends_with('Z') || lit.ends_with("ZQ")) {
      t.check_always = true;
    }
  }
  t.direct = t.vars == 0 || !t.check_always;
  return t;
}

}  // namespace lq
