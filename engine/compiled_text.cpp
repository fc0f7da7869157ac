#include "engine/compiled_text.h"

namespace lq {
namespace {

// The variable whose name starts text, or -1. No name is the start of another, so at most
// one matches.
int VariableAt(std::string_view text) {
  for (std::size_t v = 0; v < kVariableNames.size(); ++v) {
    if (text.starts_with(kVariableNames[v])) return static_cast<int>(v);
  }
  return -1;
}

// Every name begins with "ZQ_": calls each(at, v) for the variables of text, left to right.
template <typename Each>
void ForEachVariable(std::string_view text, Each each) {
  for (std::size_t at = text.find("ZQ_"); at != std::string_view::npos;) {
    const int v = VariableAt(text.substr(at));
    if (v < 0) {
      at = text.find("ZQ_", at + 1);
      continue;
    }
    each(at, v);
    at = text.find("ZQ_", at + kVariableNames[static_cast<std::size_t>(v)].size());
  }
}

// A literal run as it is written: the text's CRs go, its LFs become eol.
void AppendLiteral(std::string& to, std::string_view run, Eol eol) {
  for (const char c : run) {
    if (c == '\r') continue;
    if (c == '\n' && eol == Eol::kCrLf) to.push_back('\r');
    to.push_back(c);
  }
}

}  // namespace

unsigned VariablesIn(std::string_view text) {
  unsigned mask = 0;
  ForEachVariable(text, [&mask](std::size_t, int v) { mask |= 1u << v; });
  return mask;
}

CompiledText CompileText(std::string_view text, Eol eol) {
  CompiledText t;
  t.literals.reserve(text.size());
  std::size_t literal = 0;  // where the literal run before the next variable begins
  auto add_literal = [&](std::size_t end) {
    const std::size_t from = t.literals.size();
    AppendLiteral(t.literals, text.substr(literal, end - literal), eol);
    if (t.literals.size() > from) t.segments.push_back({from, t.literals.size() - from, -1});
  };
  ForEachVariable(text, [&](std::size_t at, int v) {
    add_literal(at);
    t.segments.push_back({0, 0, v});
    t.vars |= 1u << v;
    ++t.uses[static_cast<std::size_t>(v)];
    literal = at + kVariableNames[static_cast<std::size_t>(v)].size();
  });
  add_literal(text.size());
  t.literal_size = t.literals.size();
  return t;
}

}  // namespace lq
