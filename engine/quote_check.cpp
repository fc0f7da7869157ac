#include "engine/quote_check.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "engine/capacities.h"
#include "engine/compiled_text.h"
#include "engine/escape.h"
#include "engine/file_values.h"
#include "engine/quote_lexer.h"
#include "engine/text_helpers.h"

namespace lq {
namespace {

// What a place's surroundings are, and what the kind would need instead.
struct Mismatch {
  std::string_view found;
  std::string_view expects;
};
using Judge = std::optional<Mismatch> (*)(Spot spot);

constexpr std::string_view kForSingle = "escapes for single quotes";
constexpr std::string_view kForDouble = "escapes for double quotes";
constexpr std::string_view kForFields = "escapes for double-quoted fields";
constexpr std::string_view kForStrings = "escapes for double-quoted strings";
constexpr std::string_view kForHtml = "escapes for text and quoted attribute values";

std::optional<Mismatch> InSingleQuotes(Spot spot) {
  switch (spot) {
    case Spot::kSingle:
      return std::nullopt;
    case Spot::kDouble:
      return Mismatch{"inside double quotes", kForSingle};
    case Spot::kDollarSingle:
      return Mismatch{"inside $'...' quotes", kForSingle};
    case Spot::kComment:
      return Mismatch{"in a comment", kForSingle};
    default:
      return Mismatch{"outside quotes", kForSingle};
  }
}

std::optional<Mismatch> InDoubleQuotes(Spot spot) {
  if (spot == Spot::kDouble) return std::nullopt;
  return Mismatch{"outside double quotes", kForDouble};
}

std::optional<Mismatch> InQuotedField(Spot spot) {
  switch (spot) {
    case Spot::kQuotedField:
      return std::nullopt;
    case Spot::kAfterField:
      return Mismatch{"after a field's closing quote", kForFields};
    default:
      return Mismatch{"in a field without quotes", kForFields};
  }
}

std::optional<Mismatch> InJsonString(Spot spot) {
  switch (spot) {
    case Spot::kDouble:
      return std::nullopt;
    case Spot::kSingle:
      return Mismatch{"inside single quotes", kForStrings};
    default:
      return Mismatch{"outside any string", kForStrings};
  }
}

std::optional<Mismatch> InHtmlTextOrQuotedValue(Spot spot) {
  switch (spot) {
    case Spot::kHtmlBareValue:
      return Mismatch{"in an attribute value without quotes", kForHtml};
    case Spot::kHtmlTag:
      return Mismatch{"inside a tag, outside any attribute value", kForHtml};
    case Spot::kHtmlRawText:
      return Mismatch{"inside a script or style element, which reads no entities", kForHtml};
    default:
      return std::nullopt;
  }
}

// Unescaped values: any quotes around them are the mistake, and the kind for those quotes
// the way out.
std::optional<Mismatch> OutsideQuotes(Spot spot) {
  switch (spot) {
    case Spot::kSingle:
      return Mismatch{"inside single quotes",
                      "writes names unescaped; the shell kind escapes for single quotes"};
    case Spot::kDouble:
      return Mismatch{"inside double quotes",
                      "writes names unescaped; the batch, csv or json kind escapes for double "
                      "quotes"};
    case Spot::kHtmlQuotedValue:
      return Mismatch{"inside a quoted attribute value",
                      "writes names unescaped; the html kind escapes for quoted attribute values"};
    default:
      return std::nullopt;
  }
}

// A link target is percent-encoded, which holds in any attribute value; as text it would
// show its %XX.
constexpr std::string_view kForLink = "escapes the name for a link target in an attribute value";
std::optional<Mismatch> InLinkTarget(Spot spot) {
  switch (spot) {
    case Spot::kHtmlBareValue:
    case Spot::kHtmlQuotedValue:
      return std::nullopt;
    case Spot::kHtmlTag:
      return Mismatch{"inside a tag, outside any attribute value", kForLink};
    default:
      return Mismatch{"in HTML text", kForLink};
  }
}

// What one escape kind asks of the places of its values. A kind without a syntax asks
// nothing: its escaping holds in any quotes.
struct KindRule {
  EscapeKind kind;
  std::optional<Syntax> syntax;
  Judge name;    // the written name's place
  Judge values;  // the name variables' places
  // A spot counts only when its quote closes later on the same line: prose has apostrophes.
  bool closed_only;
};

// One row for each kind, in enum order.
constexpr std::array<KindRule, kEscapeWords.size()> kRules = {{
    {EscapeKind::kNone, Syntax::kScriptLike, OutsideQuotes, OutsideQuotes, true},
    {EscapeKind::kShell, Syntax::kShell, InSingleQuotes, InSingleQuotes, false},
    {EscapeKind::kBatch, Syntax::kBatch, InDoubleQuotes, InDoubleQuotes, false},
    {EscapeKind::kHtml, Syntax::kHtml, InHtmlTextOrQuotedValue, InHtmlTextOrQuotedValue, false},
    {EscapeKind::kUrl, std::nullopt, nullptr, nullptr, false},
    {EscapeKind::kCsv, Syntax::kCsv, InQuotedField, InQuotedField, false},
    {EscapeKind::kJson, Syntax::kJson, InJsonString, InJsonString, false},
    {EscapeKind::kHtmlUrl, Syntax::kHtml, InLinkTarget, InHtmlTextOrQuotedValue, false},
    {EscapeKind::kLine, Syntax::kScriptLike, OutsideQuotes, OutsideQuotes, true},
}};

constexpr bool RowsInEnumOrder() {
  for (std::size_t i = 0; i < kRules.size(); ++i) {
    if (static_cast<std::size_t>(kRules[i].kind) != i) return false;
  }
  return true;
}
static_assert(RowsInEnumOrder(), "kRules has one row per EscapeKind, in enum order");

// Where a value goes: after the byte at `at` of a line's skeleton, a plain letter standing
// for the value.
struct Place {
  std::size_t at;
  std::string_view text;  // "header", "queue", "main head" or "main queue"
  std::string_view what;  // the variable, or "the name"
  bool is_name;
};

// The bytes a reader sees around the values of one line: the texts' literal bytes, CRs gone
// as composing removes them, and one plain letter for each variable.
struct Line {
  std::string skeleton;
  std::vector<Place> places;

  void AddText(std::string_view text, std::string_view label) {
    const CompiledText compiled = CompileText(text, Eol::kLf);
    for (const CompiledText::Segment& s : compiled.segments) {
      if (s.var < 0) {
        skeleton.append(compiled.literals, s.from, s.size);
        continue;
      }
      skeleton += 'x';
      if (s.var < static_cast<int>(Variable::kGetSelIndex)) {
        places.push_back(
            {skeleton.size() - 1, label, kVariableNames[static_cast<std::size_t>(s.var)], false});
      }
    }
  }
  void AddName() {
    skeleton += 'x';
    // The header before it opens whatever quotes it stands in.
    places.push_back({skeleton.size() - 1, "header", "the name", true});
  }
};

class Warnings {
 public:
  Warnings(const KindRule& rule, std::vector<std::string>& out) : rule_(rule), out_(out) {}

  void Check(const Line& line) {
    std::unique_ptr<QuoteLexer> lexer = MakeQuoteLexer(*rule_.syntax);
    // Places whose quotes have not closed yet, for closed_only.
    std::vector<std::pair<const Place*, Mismatch>> open;
    auto next = line.places.begin();
    for (std::size_t i = 0; i < line.skeleton.size(); ++i) {
      const char c = line.skeleton[i];
      lexer->Feed(c);
      if (!open.empty()) {
        if (c == '\n') {
          open.clear();
        } else if (lexer->spot() == Spot::kBare) {
          for (const auto& [place, mismatch] : open) Add(*place, mismatch);
          open.clear();
        }
      }
      for (; next != line.places.end() && next->at == i; ++next) {
        const std::optional<Mismatch> mismatch =
            (next->is_name ? rule_.name : rule_.values)(lexer->spot());
        if (!mismatch) continue;
        if (rule_.closed_only) {
          open.emplace_back(&*next, *mismatch);
        } else {
          Add(*next, *mismatch);
        }
      }
    }
  }

 private:
  void Add(const Place& place, const Mismatch& mismatch) {
    std::string text = std::string(place.text) + ": " + std::string(place.what) + " is " +
                       std::string(mismatch.found) + ", but the " +
                       std::string(EscapeWord(rule_.kind)) + " kind " +
                       std::string(mismatch.expects);
    if (std::find(out_.begin(), out_.end(), text) == out_.end()) out_.push_back(std::move(text));
  }

  const KindRule& rule_;
  std::vector<std::string>& out_;
};

}  // namespace

std::vector<std::string> QuoteWarnings(const ScriptSettings& settings, std::string_view header,
                                       std::string_view queue) {
  std::vector<std::string> out;
  const auto at = static_cast<std::size_t>(settings.Escape);
  if (at >= kRules.size() || !kRules[at].syntax) return out;
  Warnings warnings(kRules[at], out);

  Line head;
  head.AddText(settings.MainHead, "main head");
  warnings.Check(head);

  Line file;
  file.AddText(CutUtf8View(header, kEditReadMax), "header");
  if (EffectiveMode(settings.CheckIndex) != PathMode::kNone) file.AddName();
  file.AddText(CutUtf8View(queue, kEditReadMax), "queue");
  warnings.Check(file);

  Line tail;
  tail.AddText(settings.MainQueue, "main queue");
  warnings.Check(tail);
  return out;
}

}  // namespace lq
