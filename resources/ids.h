#pragma once

#include "persist/template_ids.h"

// Command, control and hint ids share one number space: a control's hint is the string with
// the control's id, a menu item's hint the string with its command id.
namespace lq::ids {

// Controls of the main dialog "DLG_PROVA".
inline constexpr int kFileList = 101;
inline constexpr int kHeader = 102;
inline constexpr int kQueue = 103;
inline constexpr int kRelPathField = 104;
inline constexpr int kModeFull = 105;
inline constexpr int kModeRelative = 106;
inline constexpr int kModeName = 107;
inline constexpr int kInvertSlash = 108;
inline constexpr int kMoveUp = 109;
inline constexpr int kMoveDown = 110;
inline constexpr int kDeleteItem = 111;
inline constexpr int kCreate = 112;
inline constexpr int kView = 113;
inline constexpr int kModeNone = 114;
inline constexpr int kOutFileField = 115;
inline constexpr int kMainHeadField = 116;
inline constexpr int kMainQueueField = 117;
inline constexpr int kSetOutputFile = 118;
inline constexpr int kSetMainHead = 120;
inline constexpr int kSetMainQueue = 121;
inline constexpr int kCounter = 122;
inline constexpr int kAutoDrag = 123;
inline constexpr int kSaveLocal = 124;

// Menu commands.
inline constexpr int kChangeFont = 1001;
inline constexpr int kClearList = 1003;
inline constexpr int kCopySelected = 1004;
inline constexpr int kUseTooltip = 1005;
inline constexpr int kCreateAndCopySelected = 1006;
inline constexpr int kCreateAndCopy = 1007;
inline constexpr int kDragSetOutputFile = 1008;
inline constexpr int kDragCopyName = 1009;
inline constexpr int kDragSetRelPath = 1010;
inline constexpr int kDragCreateAndCopy = 1011;
inline constexpr int kExecute = 1012;
inline constexpr int kSendToOptions = 1014;
// "Escape names for": one radio item per escaping kind, in the kinds' order; the kinds added
// later took the next free numbers.
inline constexpr int kEscapeNone = 1015;
inline constexpr int kEscapeShell = 1016;
inline constexpr int kEscapeBatch = 1017;
inline constexpr int kEscapeHtml = 1018;
inline constexpr int kEscapeUrl = 1019;
inline constexpr int kEscapeCsv = 1020;
inline constexpr int kEscapeJson = 1021;
inline constexpr int kPreview = 1022;  // opens the preview window
inline constexpr int kEscapeHtmlUrl = 1023;
inline constexpr int kEscapeLine = 1024;
inline constexpr int kSaveTemplate = 1301;
inline constexpr int kOpenTemplate = 1302;
inline constexpr int kFirstTemplate = kFirstTemplateId;
inline constexpr int kLastTemplate = kLastTemplateId;
inline constexpr int kOpenList = 24332;
inline constexpr int kSaveList = 24333;
inline constexpr int kExit = 24338;
inline constexpr int kHelpIndex = 24341;
inline constexpr int kWebPage = 24343;
inline constexpr int kAbout = 24346;

// Controls of the secondary dialogs.
inline constexpr int kInputEdit = 101;   // "MLINPUT_DLG"
inline constexpr int kSendToName = 101;  // "DLG_SENDTO": copy the file name
inline constexpr int kSendToLine = 102;  // "DLG_SENDTO": copy a composed line

// Tool-button bitmaps.
inline constexpr int kBitmapClear = 101;
inline constexpr int kBitmapCreate = 102;
inline constexpr int kBitmapView = 104;
inline constexpr int kBitmapPreview = 105;

}  // namespace lq::ids
