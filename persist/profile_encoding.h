#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lq {

// How a profile file's bytes are encoded. Windows editors save INI files as UTF-16 with a
// byte order mark; Loomquill keeps whatever encoding a file has.
enum class TextEncoding { kUtf8, kUtf16Le, kUtf16Be };

// The encoding the bytes announce by a UTF-16 byte order mark; UTF-8 otherwise (a UTF-8
// mark stays part of the text, where the profile reader skips it).
TextEncoding DetectEncoding(std::string_view bytes);

// The bytes as UTF-8 text, without a UTF-16 mark; nothing when they are no valid UTF-16.
std::optional<std::string> DecodeProfileBytes(std::string_view bytes, TextEncoding encoding);

// The text in the encoding, a UTF-16 one with its mark; nothing when the text is no valid
// UTF-8 and so cannot be written as UTF-16.
std::optional<std::string> EncodeProfileText(std::string_view text, TextEncoding encoding);

}  // namespace lq
