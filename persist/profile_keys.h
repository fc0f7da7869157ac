#pragma once

#include <string_view>

// Key names of the settings file and of template files.
namespace lq::keys {

inline constexpr std::string_view kFileOutput = "FileOutput";
inline constexpr std::string_view kHeader = "Header";
inline constexpr std::string_view kQueue = "Queue";
inline constexpr std::string_view kInvertSlash = "InvertSlash";
inline constexpr std::string_view kCheckIndex = "CheckIndex";
inline constexpr std::string_view kEscape = "Escape";
inline constexpr std::string_view kSendToIndex = "SendToIndex";
inline constexpr std::string_view kMainHead = "MainHead";
inline constexpr std::string_view kMainQueue = "MainQueue";
inline constexpr std::string_view kSaveLocal = "SaveLocal";
inline constexpr std::string_view kUseTip = "UseTip";

inline constexpr std::string_view kLfHeight = "lfHeight";
inline constexpr std::string_view kLfPointSize = "lfPointSize";
inline constexpr std::string_view kLfWeight = "lfWeight";
inline constexpr std::string_view kLfItalic = "lfItalic";
inline constexpr std::string_view kLfUnderline = "lfUnderline";
inline constexpr std::string_view kLfStrikeOut = "lfStrikeOut";
inline constexpr std::string_view kLfFaceName = "lfFaceName";

// The preview window, in the settings file only.
inline constexpr std::string_view kPreviewOpen = "PreviewOpen";
inline constexpr std::string_view kPreviewLeft = "PreviewLeft";
inline constexpr std::string_view kPreviewTop = "PreviewTop";
inline constexpr std::string_view kPreviewWidth = "PreviewWidth";
inline constexpr std::string_view kPreviewHeight = "PreviewHeight";

inline constexpr std::string_view kMenuTitle = "h_menutitle";
inline constexpr std::string_view kMenuHelp = "h_menuhelp";

}  // namespace lq::keys
