#include "uikit/grafext/resource_hooks.h"

#ifdef LQ_HAVE_RESOURCES
#include "resources/hint_table.h"
#include "resources/images.h"
#endif

namespace lq {
namespace {

#ifdef LQ_HAVE_RESOURCES
constexpr StringTableFn kDefaultTable = &HintString;
constexpr CursorLoaderFn kDefaultLoader = &LoadCursorResource;
#else
std::string_view NoStrings(int) { return {}; }
wxCursor NoCursors(const std::string&) { return wxNullCursor; }
constexpr StringTableFn kDefaultTable = &NoStrings;
constexpr CursorLoaderFn kDefaultLoader = &NoCursors;
#endif

StringTableFn g_table = kDefaultTable;
CursorLoaderFn g_loader = kDefaultLoader;

}  // namespace

void SetStringTable(StringTableFn table) { g_table = table != nullptr ? table : kDefaultTable; }
StringTableFn CurrentStringTable() { return g_table; }

void SetCursorLoader(CursorLoaderFn loader) {
  g_loader = loader != nullptr ? loader : kDefaultLoader;
}

wxCursor LoadNamedCursor(const std::string& name) {
  wxCursor cursor = g_loader(name);
  return cursor.IsOk() ? cursor : wxCursor(wxCURSOR_BLANK);
}

}  // namespace lq
