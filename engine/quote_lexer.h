#pragma once

#include <memory>
#include <string_view>

namespace lq {

// Where a byte of an output stands for the program that reads it: which quotes, field,
// string, tag or comment surround it.
enum class Spot {
  kBare,             // outside any quotes
  kSingle,           // '...'
  kDouble,           // "..."
  kDollarSingle,     // a shell's $'...', where a backslash escapes
  kComment,          // a shell comment, ended by a line break
  kBareField,        // a CSV field that does not start with a quote
  kQuotedField,      // a CSV field in double quotes
  kAfterField,       // after a CSV field's closing quote
  kHtmlText,         // HTML text, or a comment or declaration
  kHtmlTag,          // inside a tag, outside any attribute value
  kHtmlBareValue,    // an HTML attribute value without quotes
  kHtmlQuotedValue,  // an HTML attribute value in '...' or "..."
  kHtmlRawText,      // inside script or style, where no entity is read
};

// The quoting rules of the readers the escape kinds write for.
enum class Syntax {
  kShell,       // POSIX sh: '...', "...", $'...', backslashes, comments, $(...) and `...`
  kBatch,       // cmd: "..." up to the end of the line, ^ escaping outside them
  kCsv,         // RFC 4180 fields
  kJson,        // strings in "..."; '...' taken as the mistake it is
  kHtml,        // text, tags, attribute values, comments, script and style
  kScriptLike,  // any script: '...' and "..." on one line, and HTML attribute values
};

// Follows a text byte by byte from its first byte. spot() is where the byte fed last stands
// when that byte is a plain letter, as a checker takes a value's bytes to be: escaped, a
// value is plain inside the quotes its kind writes for.
class QuoteLexer {
 public:
  virtual ~QuoteLexer() = default;
  virtual void Feed(char c) = 0;
  virtual Spot spot() const = 0;
};

std::unique_ptr<QuoteLexer> MakeQuoteLexer(Syntax syntax);

// Where a plain letter written after text stands, text read from its first byte.
Spot SpotAfter(Syntax syntax, std::string_view text);

}  // namespace lq
