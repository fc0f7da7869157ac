#include "resources/hint_table.h"

#include <wx/translation.h>

#include <algorithm>
#include <iterator>

#include "resources/ids.h"

namespace lq {
namespace {

struct Hint {
  int id;
  std::string_view text;
};

// Sorted by id. The texts are English; the callers translate them.
constexpr Hint kHints[] = {
    {ids::kFileList,
     wxTRANSLATE("Drag and drop here your files from File Manager\nDrag & Drop files")},
    {ids::kHeader, wxTRANSLATE("Header, will be placed before file name\nHeader")},
    {ids::kQueue, wxTRANSLATE("Queue, will be placed after file name\nQueue")},
    {ids::kRelPathField,
     wxTRANSLATE("Folder from where relative path will be calculated\nRelative Path")},
    {ids::kModeFull, wxTRANSLATE("Include full path in file name\nFull")},
    {ids::kModeRelative,
     wxTRANSLATE("Relative path will be calculated from output file (drag folder here to change)\n"
                 "Relative (drag)")},
    {ids::kModeName, wxTRANSLATE("No path, only file name\nNo path")},
    {ids::kInvertSlash, wxTRANSLATE("Invert \\ to / for HTML code\nInvert")},
    {ids::kMoveUp, wxTRANSLATE("Move up selected item\nUp")},
    {ids::kMoveDown, wxTRANSLATE("Move down selected item\nDown")},
    {ids::kDeleteItem, wxTRANSLATE("Delete selected item\nDelete")},
    {ids::kCreate,
     wxTRANSLATE(
         "Create output file containing header, files, queue\nClick here\nto create output")},
    {ids::kView, wxTRANSLATE("Open last created output with Notepad\nVew last created "
                             "output\nRight click for options")},
    {ids::kModeNone, wxTRANSLATE("None: you can use ZQ_VAR (see help file)\nNone")},
    {ids::kOutFileField, wxTRANSLATE("Name of output file (drag file to set it; drag folder to set "
                                     "RelPath)\nOutput file (drag)")},
    {ids::kMainHeadField,
     wxTRANSLATE("Main header will be placed at beginning of OutFile\nMain header")},
    {ids::kMainQueueField,
     wxTRANSLATE("Main queue will be placed at the end of OutFile\nMain queue")},
    {ids::kSetOutputFile, wxTRANSLATE("Set the name of the output file\nOutput file (drag)")},
    {ids::kSetMainHead,
     wxTRANSLATE("Set the header placed at the beginning of Output file\nMain header")},
    {ids::kSetMainQueue, wxTRANSLATE("Set the queue placed at the end of Output file\nMain queue")},
    {ids::kAutoDrag, wxTRANSLATE("Drag a single file here for special settings")},
    {ids::kSaveLocal,
     wxTRANSLATE(
         "Check to save local informations (output file, relpath) in templates\nLocal info")},
    {ids::kChangeFont, wxTRANSLATE("Change font used by program")},
    {ids::kClearList, wxTRANSLATE("Clear file list")},
    {ids::kCopySelected, wxTRANSLATE("Copy selected file name into Clipboard")},
    {ids::kUseTooltip, wxTRANSLATE("Enable-disable Tooltip")},
    {ids::kCreateAndCopySelected,
     wxTRANSLATE("Create a single line (head, file, queue) and copy into Clipboard")},
    {ids::kCreateAndCopy, wxTRANSLATE("Create output file, and copy it into Clipboard")},
    {ids::kDragSetOutputFile, wxTRANSLATE("--- Set dragged file like output file")},
    {ids::kDragCopyName, wxTRANSLATE("--- Copy dragged file name into Clipboard")},
    {ids::kDragSetRelPath, wxTRANSLATE("--- Set the Relative Path from dragged file")},
    {ids::kDragCreateAndCopy, wxTRANSLATE("--- Create a single line and copy into Clipboard")},
    {ids::kExecute, wxTRANSLATE("Try to launch output file using Windows assocation")},
    {ids::kSendToOptions,
     wxTRANSLATE("You can use right click from File Manager to activate Loomquill")},
    {ids::kEscapeNone,
     wxTRANSLATE("Write names as they are, unescaped (unsafe for scripts)\nNo escaping")},
    {ids::kEscapeShell,
     wxTRANSLATE(
         "Escape names for POSIX shell single quotes: ' becomes '\\''\nShell script escaping")},
    {ids::kEscapeBatch,
     wxTRANSLATE(
         "Escape names for cmd double quotes: % becomes %%; a name with \" or a line break is "
         "refused\nBatch file escaping")},
    {ids::kEscapeHtml, wxTRANSLATE("Escape names for HTML: & < > \" ' CR become &amp; &lt; &gt; "
                                   "&quot; &#39; &#13;; a name must "
                                   "be UTF-8\nHTML escaping")},
    {ids::kEscapeUrl,
     wxTRANSLATE("Escape names for URLs: every byte but letters, digits and - . _ ~ / becomes %XX\n"
                 "URL escaping")},
    {ids::kEscapeCsv, wxTRANSLATE("Escape names for CSV double quotes: \" becomes \"\"; cells "
                                  "starting with = + - @ are kept (a "
                                  "spreadsheet may run them)\nCSV escaping")},
    {ids::kEscapeJson,
     wxTRANSLATE(
         "Escape names for JSON strings: \\ \" and control characters get a backslash; a name must "
         "be UTF-8\n"
         "JSON escaping")},
    {ids::kPreview,
     wxTRANSLATE("Show what Create would write, kept up to date while you type; writes nothing\n"
                 "Preview output")},
    {ids::kEscapeHtmlUrl,
     wxTRANSLATE(
         "Escape the written name as a link target (%XX, as URL) and the variables as HTML text; a "
         "name must be UTF-8\n"
         "HTML link escaping")},
    {ids::kEscapeLine,
     wxTRANSLATE(
         "For one-name-a-line lists: a name with a line break is refused; a relative #x or a:b is "
         "written as ./#x, ./a:b\n"
         "Line list escaping")},
    {ids::kSaveTemplate, wxTRANSLATE("Save current Header Queue and setting in a file")},
    {ids::kOpenTemplate, wxTRANSLATE("Load Header Queue and setting from file")},
    {ids::kOpenList, wxTRANSLATE("Load a list previously saved in a file")},
    {ids::kSaveList,
     wxTRANSLATE("Save file names contained in list (no header, no queue, include full path)")},
    {ids::kExit, wxTRANSLATE("Close program")},
    {ids::kHelpIndex, wxTRANSLATE("Open help file")},
    {ids::kWebPage, wxTRANSLATE("Connect to Internet Halvorn Web Page")},
    {ids::kAbout, wxTRANSLATE("Informations")},
};

static_assert(std::is_sorted(std::begin(kHints), std::end(kHints),
                             [](const Hint& a, const Hint& b) { return a.id < b.id; }));

}  // namespace

std::string_view HintString(int id) {
  const auto* it = std::lower_bound(std::begin(kHints), std::end(kHints), id,
                                    [](const Hint& h, int key) { return h.id < key; });
  if (it == std::end(kHints) || it->id != id) return {};
  return it->text;
}

}  // namespace lq
