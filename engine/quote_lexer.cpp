#include "engine/quote_lexer.h"

#include <string>
#include <vector>

namespace lq {
namespace {

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiAlnum(char c) { return IsAsciiAlpha(c) || (c >= '0' && c <= '9'); }

bool IsHtmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// POSIX sh. Command substitutions open a context of their own, so that the single quotes of
// "$(basename 'x')" are single quotes again.
class ShellLexer : public QuoteLexer {
 public:
  void Feed(char c) override {
    if (escape_) {
      escape_ = false;
      word_start_ = false;
      return;
    }
    const bool dollar = dollar_;
    dollar_ = false;
    switch (stack_.back()) {
      case Context::kComment:
        if (c == '\n') {
          stack_.pop_back();
          word_start_ = true;
        }
        return;
      case Context::kSingle:
        if (c == '\'') stack_.pop_back();
        return;
      case Context::kDollarSingle:
        if (c == '\\') {
          escape_ = true;
        } else if (c == '\'') {
          stack_.pop_back();
        }
        return;
      case Context::kDouble:
        if (c == '\\') {
          escape_ = true;
        } else if (c == '"') {
          stack_.pop_back();
        } else if (c == '$') {
          dollar_ = true;
        } else if (c == '(' && dollar) {
          Push(Context::kParen);
        } else if (c == '`') {
          Push(Context::kBackquote);
        }
        return;
      case Context::kTop:
      case Context::kParen:
      case Context::kBackquote:
        Bare(c, dollar);
        return;
    }
  }

  Spot spot() const override {
    switch (stack_.back()) {
      case Context::kSingle:
        return Spot::kSingle;
      case Context::kDouble:
        return Spot::kDouble;
      case Context::kDollarSingle:
        return Spot::kDollarSingle;
      case Context::kComment:
        return Spot::kComment;
      case Context::kTop:
      case Context::kParen:
      case Context::kBackquote:
        break;
    }
    return Spot::kBare;
  }

 private:
  enum class Context { kTop, kParen, kBackquote, kSingle, kDouble, kDollarSingle, kComment };

  void Push(Context context) {
    stack_.push_back(context);
    word_start_ = true;
  }

  void Bare(char c, bool dollar) {
    if (dollar && c == '\'') {
      stack_.push_back(Context::kDollarSingle);
      return;
    }
    switch (c) {
      case '\\':
        escape_ = true;
        break;
      case '\'':
        stack_.push_back(Context::kSingle);
        break;
      case '"':
        stack_.push_back(Context::kDouble);
        break;
      case '$':
        dollar_ = true;
        break;
      case '`':
        if (stack_.back() == Context::kBackquote) {
          stack_.pop_back();
        } else {
          stack_.push_back(Context::kBackquote);
        }
        break;
      case '(':
        stack_.push_back(Context::kParen);
        break;
      case ')':
        if (stack_.back() == Context::kParen) stack_.pop_back();
        break;
      case '#':
        if (word_start_) {
          stack_.push_back(Context::kComment);
          return;
        }
        break;
      default:
        break;
    }
    // A quote that closes leaves word_start_ as its opening set it: false.
    word_start_ = c == ' ' || c == '\t' || c == '\n' || c == ';' || c == '&' || c == '|' ||
                  c == '(' || c == ')' || c == '<' || c == '>';
  }

  std::vector<Context> stack_{Context::kTop};
  bool escape_ = false;
  bool dollar_ = false;
  bool word_start_ = true;
};

// cmd reads each line anew: quotes never go on past its end.
class BatchLexer : public QuoteLexer {
 public:
  void Feed(char c) override {
    if (c == '\n') {
      quoted_ = caret_ = false;
    } else if (caret_) {
      caret_ = false;
    } else if (!quoted_ && c == '^') {
      caret_ = true;
    } else if (c == '"') {
      quoted_ = !quoted_;
    }
  }
  Spot spot() const override { return quoted_ ? Spot::kDouble : Spot::kBare; }

 private:
  bool quoted_ = false;
  bool caret_ = false;
};

class CsvLexer : public QuoteLexer {
 public:
  void Feed(char c) override {
    if (c == '\r' && state_ != State::kQuoted) return;  // before its LF
    switch (state_) {
      case State::kStart:
        state_ = c == '"' ? State::kQuoted : Ends(c) ? State::kStart : State::kBare;
        break;
      case State::kBare:
      case State::kAfter:
        if (Ends(c)) state_ = State::kStart;
        break;
      case State::kQuoted:
        if (c == '"') state_ = State::kQuote;
        break;
      case State::kQuote:
        // Doubled, the quote is part of the field; single, it closed it.
        state_ = c == '"' ? State::kQuoted : Ends(c) ? State::kStart : State::kAfter;
        break;
    }
  }
  Spot spot() const override {
    switch (state_) {
      case State::kQuoted:
        return Spot::kQuotedField;
      case State::kQuote:
      case State::kAfter:
        return Spot::kAfterField;
      case State::kStart:
      case State::kBare:
        break;
    }
    return Spot::kBareField;
  }

 private:
  enum class State { kStart, kBare, kQuoted, kQuote, kAfter };
  static bool Ends(char c) { return c == ',' || c == '\n'; }
  State state_ = State::kStart;
};

class JsonLexer : public QuoteLexer {
 public:
  void Feed(char c) override {
    if (escape_) {
      escape_ = false;
    } else if (quote_ == 0) {
      if (c == '"' || c == '\'') quote_ = c;
    } else if (c == '\\') {
      escape_ = true;
    } else if (c == quote_) {
      quote_ = 0;
    }
  }
  Spot spot() const override {
    return quote_ == '"' ? Spot::kDouble : quote_ == '\'' ? Spot::kSingle : Spot::kBare;
  }

 private:
  char quote_ = 0;
  bool escape_ = false;
};

// The states of HTML's tokenizer that decide how a value is read, simplified where the
// difference never matters to an escaped value.
class HtmlLexer : public QuoteLexer {
 public:
  void Feed(char c) override {
    switch (state_) {
      case State::kText:
        if (c == '<') state_ = State::kTagOpen;
        break;
      case State::kTagOpen:
        if (c == '/' || IsAsciiAlpha(c)) {
          end_tag_ = c == '/';
          name_.assign(end_tag_ ? 0 : 1, LowerAscii(c));
          state_ = State::kTagName;
        } else if (c == '!') {
          state_ = State::kBang;
        } else if (c == '?') {
          state_ = State::kDeclaration;
        } else if (c != '<') {
          state_ = State::kText;  // a bare '<'
        }
        break;
      case State::kTagName:
        if (IsHtmlSpace(c) || c == '/') {
          state_ = State::kInTag;
        } else if (c == '>') {
          CloseTag();
        } else if (name_.size() < kLongestRawName) {
          name_ += LowerAscii(c);
        } else {
          name_ = "-";  // no element of raw text
        }
        break;
      case State::kInTag:
        if (c == '>') {
          CloseTag();
        } else if (c == '=') {
          state_ = State::kBeforeValue;
        }
        break;
      case State::kBeforeValue:
        if (c == '"' || c == '\'') {
          quote_ = c;
          state_ = State::kQuotedValue;
        } else if (c == '>') {
          CloseTag();
        } else if (!IsHtmlSpace(c)) {
          state_ = State::kBareValue;
        }
        break;
      case State::kBareValue:
        if (IsHtmlSpace(c)) {
          state_ = State::kInTag;
        } else if (c == '>') {
          CloseTag();
        }
        break;
      case State::kQuotedValue:
        if (c == quote_) state_ = State::kInTag;
        break;
      case State::kBang:
        state_ = c == '-' ? State::kBangDash : c == '>' ? State::kText : State::kDeclaration;
        break;
      case State::kBangDash:
        if (c == '-') {
          state_ = State::kComment;
          dashes_ = 2;  // "<!-->" closes at once
        } else {
          state_ = c == '>' ? State::kText : State::kDeclaration;
        }
        break;
      case State::kComment:
        if (c == '>' && dashes_ >= 2) {
          state_ = State::kText;
        } else {
          dashes_ = c == '-' ? dashes_ + 1 : 0;
        }
        break;
      case State::kDeclaration:
        if (c == '>') state_ = State::kText;
        break;
      case State::kRawText:
        RawText(c);
        break;
    }
  }

  Spot spot() const override {
    switch (state_) {
      case State::kTagName:
      case State::kInTag:
      case State::kBeforeValue:
        return Spot::kHtmlTag;
      case State::kBareValue:
        return Spot::kHtmlBareValue;
      case State::kQuotedValue:
        return Spot::kHtmlQuotedValue;
      case State::kRawText:
        return Spot::kHtmlRawText;
      case State::kText:
      case State::kTagOpen:
      case State::kBang:
      case State::kBangDash:
      case State::kComment:
      case State::kDeclaration:
        break;
    }
    return Spot::kHtmlText;
  }

 private:
  enum class State {
    kText,
    kTagOpen,
    kTagName,
    kInTag,
    kBeforeValue,
    kBareValue,
    kQuotedValue,
    kBang,
    kBangDash,
    kComment,
    kDeclaration,
    kRawText,
  };
  static constexpr std::size_t kLongestRawName = 6;  // "script"

  void CloseTag() {
    if (!end_tag_ && (name_ == "script" || name_ == "style")) {
      raw_end_ = "</" + name_;
      matched_ = 0;
      state_ = State::kRawText;
    } else {
      state_ = State::kText;
    }
  }

  // Only "</script" (or "</style") ends the element's text.
  void RawText(char c) {
    if (LowerAscii(c) == raw_end_[matched_]) {
      if (++matched_ == raw_end_.size()) {
        end_tag_ = true;
        state_ = State::kInTag;
      }
    } else {
      matched_ = c == '<' ? 1 : 0;
    }
  }

  State state_ = State::kText;
  std::string name_;
  bool end_tag_ = false;
  char quote_ = 0;
  int dashes_ = 0;
  std::string raw_end_;
  std::size_t matched_ = 0;
};

// Any script or page a name written as it is may go into: quotes on one line, an apostrophe
// inside a word taken for what it is, and HTML's attribute values told apart.
class ScriptLikeLexer : public QuoteLexer {
 public:
  void Feed(char c) override {
    html_.Feed(c);
    if (c == '\n') {
      quote_ = 0;
      escape_ = after_alnum_ = false;
      return;
    }
    if (escape_) {
      escape_ = false;
    } else if (quote_ == 0) {
      if (c == '\\') {
        escape_ = true;
      } else if (c == '"' || (c == '\'' && !after_alnum_)) {
        quote_ = c;
      }
    } else if (c == quote_) {
      quote_ = 0;
    }
    after_alnum_ = IsAsciiAlnum(c);
  }
  Spot spot() const override {
    if (quote_ == 0) return Spot::kBare;
    if (html_.spot() == Spot::kHtmlQuotedValue) return Spot::kHtmlQuotedValue;
    return quote_ == '"' ? Spot::kDouble : Spot::kSingle;
  }

 private:
  HtmlLexer html_;
  char quote_ = 0;
  bool escape_ = false;
  bool after_alnum_ = false;
};

}  // namespace

std::unique_ptr<QuoteLexer> MakeQuoteLexer(Syntax syntax) {
  switch (syntax) {
    case Syntax::kShell:
      return std::make_unique<ShellLexer>();
    case Syntax::kBatch:
      return std::make_unique<BatchLexer>();
    case Syntax::kCsv:
      return std::make_unique<CsvLexer>();
    case Syntax::kJson:
      return std::make_unique<JsonLexer>();
    case Syntax::kHtml:
      return std::make_unique<HtmlLexer>();
    case Syntax::kScriptLike:
      break;
  }
  return std::make_unique<ScriptLikeLexer>();
}

Spot SpotAfter(Syntax syntax, std::string_view text) {
  std::unique_ptr<QuoteLexer> lexer = MakeQuoteLexer(syntax);
  for (const char c : text) lexer->Feed(c);
  lexer->Feed('x');
  return lexer->spot();
}

}  // namespace lq
