#pragma once

#include <string>

namespace lq {

// A problem to report: the window shows text and caption in a message box, the CLI prints
// Describe(). reason carries the system's word for it when there is one.
struct Failure {
  std::string text;
  std::string caption;
  std::string reason;

  // The text of a message box: what failed, then why.
  std::string MessageText() const { return reason.empty() ? text : text + "\n\n" + reason; }

  // A failure without caption is located by its text, as "names.txt:12: reason".
  std::string Describe() const {
    if (caption.empty()) return text + ": " + reason;
    std::string out = caption + ": " + text;
    if (!reason.empty()) out += " (" + reason + ")";
    return out;
  }
};

inline constexpr const char* kRequireFilesText =
    "Please drag some files from File Manager before using this command";
inline constexpr const char* kRequireFilesCaption = "Info";
inline constexpr const char* kInvalidOutputCaption = "Invalid output file name";
inline constexpr const char* kInvalidFileCaption = "Invalid file name";
inline constexpr const char* kUnsafeNameCaption = "Name cannot be written safely";

}  // namespace lq
