#include "resources/hint_table.h"

#include <gtest/gtest.h>

#include <string_view>

#include "resources/ids.h"

namespace lq {
namespace {

struct ExpectedHint {
  int id;
  std::string_view text;
};

const ExpectedHint kExpected[] = {
    {ids::kFileList, "Drag and drop here your files from File Manager\nDrag & Drop files"},
    {ids::kHeader, "Header, will be placed before file name\nHeader"},
    {ids::kQueue, "Queue, will be placed after file name\nQueue"},
    {ids::kRelPathField, "Folder from where relative path will be calculated\nRelative Path"},
    {ids::kModeFull, "Include full path in file name\nFull"},
    {ids::kModeRelative,
     "Relative path will be calculated from output file (drag folder here to change)\nRelative "
     "(drag)"},
    {ids::kModeName, "No path, only file name\nNo path"},
    {ids::kInvertSlash, "Invert \\ to / for HTML code\nInvert"},
    {ids::kMoveUp, "Move up selected item\nUp"},
    {ids::kMoveDown, "Move down selected item\nDown"},
    {ids::kDeleteItem, "Delete selected item\nDelete"},
    {ids::kCreate,
     "Create output file containing header, files, queue\nClick here\nto create output"},
    {ids::kView,
     "Open last created output with Notepad\nVew last created output\nRight click for options"},
    {ids::kModeNone, "None: you can use ZQ_VAR (see help file)\nNone"},
    {ids::kOutFileField,
     "Name of output file (drag file to set it; drag folder to set RelPath)\nOutput file (drag)"},
    {ids::kMainHeadField, "Main header will be placed at beginning of OutFile\nMain header"},
    {ids::kMainQueueField, "Main queue will be placed at the end of OutFile\nMain queue"},
    {ids::kSetOutputFile, "Set the name of the output file\nOutput file (drag)"},
    {ids::kSetMainHead, "Set the header placed at the beginning of Output file\nMain header"},
    {ids::kSetMainQueue, "Set the queue placed at the end of Output file\nMain queue"},
    {ids::kAutoDrag, "Drag a single file here for special settings"},
    {ids::kSaveLocal,
     "Check to save local informations (output file, relpath) in templates\nLocal info"},
    {ids::kChangeFont, "Change font used by program"},
    {ids::kClearList, "Clear file list"},
    {ids::kCopySelected, "Copy selected file name into Clipboard"},
    {ids::kUseTooltip, "Enable-disable Tooltip"},
    {ids::kCreateAndCopySelected,
     "Create a single line (head, file, queue) and copy into Clipboard"},
    {ids::kCreateAndCopy, "Create output file, and copy it into Clipboard"},
    {ids::kDragSetOutputFile, "--- Set dragged file like output file"},
    {ids::kDragCopyName, "--- Copy dragged file name into Clipboard"},
    {ids::kDragSetRelPath, "--- Set the Relative Path from dragged file"},
    {ids::kDragCreateAndCopy, "--- Create a single line and copy into Clipboard"},
    {ids::kExecute, "Try to launch output file using Windows assocation"},
    {ids::kSendToOptions, "You can use right click from File Manager to activate Loomquill"},
    {ids::kEscapeNone, "Write names as they are, unescaped (unsafe for scripts)\nNo escaping"},
    {ids::kEscapeShell,
     "Escape names for POSIX shell single quotes: ' becomes '\\''\nShell script escaping"},
    {ids::kEscapeBatch,
     "Escape names for cmd double quotes: % becomes %%; a name with \" or a line break is "
     "refused\nBatch file escaping"},
    {ids::kEscapeHtml,
     "Escape names for HTML: & < > \" ' CR become &amp; &lt; &gt; &quot; &#39; &#13;; a name must "
     "be UTF-8\nHTML escaping"},
    {ids::kEscapeUrl,
     "Escape names for URLs: every byte but letters, digits and - . _ ~ / becomes %XX\n"
     "URL escaping"},
    {ids::kEscapeCsv,
     "Escape names for CSV double quotes: \" becomes \"\"; cells starting with = + - @ are kept (a "
     "spreadsheet may run them)\nCSV escaping"},
    {ids::kEscapeJson,
     "Escape names for JSON strings: \\ \" and control characters get a backslash; a name must "
     "be UTF-8\nJSON escaping"},
    {ids::kPreview,
     "Show what Create would write, kept up to date while you type; writes nothing\n"
     "Preview output"},
    {ids::kEscapeHtmlUrl,
     "Escape the written name as a link target (%XX, as URL) and the variables as HTML text; a "
     "name must be UTF-8\nHTML link escaping"},
    {ids::kEscapeLine,
     "For one-name-a-line lists: a name with a line break is refused; a relative #x or a:b is "
     "written as ./#x, ./a:b\nLine list escaping"},
    {ids::kSaveTemplate, "Save current Header Queue and setting in a file"},
    {ids::kOpenTemplate, "Load Header Queue and setting from file"},
    {ids::kOpenList, "Load a list previously saved in a file"},
    {ids::kSaveList, "Save file names contained in list (no header, no queue, include full path)"},
    {ids::kExit, "Close program"},
    {ids::kHelpIndex, "Open help file"},
    {ids::kWebPage, "Connect to Internet Halvorn Web Page"},
    {ids::kAbout, "Informations"},
};

TEST(HintTable, EveryEntryHasItsExactText) {
  for (const ExpectedHint& hint : kExpected) {
    EXPECT_EQ(HintString(hint.id), hint.text) << "id " << hint.id;
  }
}

TEST(HintTable, NoOtherIdHasAHint) {
  int with_hint = 0;
  for (int id = -1000; id < 70000; ++id) {
    if (!HintString(id).empty()) ++with_hint;
  }
  EXPECT_EQ(with_hint, static_cast<int>(std::size(kExpected)));
}

TEST(HintTable, IdsWithoutHintGiveEmptyText) {
  // Unused numbers, the counter, and template items (whose hints come from the scan).
  for (int id :
       {0, 100, 119, ids::kCounter, 1002, 1013, ids::kFirstTemplate, ids::kLastTemplate, 24339}) {
    EXPECT_TRUE(HintString(id).empty()) << "id " << id;
  }
}

TEST(HintTable, StatusTextEndsAtFirstLineFeed) {
  const std::string_view create = HintString(ids::kCreate);
  const auto cut = create.find('\n');
  ASSERT_NE(cut, std::string_view::npos);
  EXPECT_EQ(create.substr(0, cut), "Create output file containing header, files, queue");
  EXPECT_EQ(create.substr(cut + 1), "Click here\nto create output");
  EXPECT_EQ(HintString(ids::kAutoDrag).find('\n'), std::string_view::npos);
}

}  // namespace
}  // namespace lq
