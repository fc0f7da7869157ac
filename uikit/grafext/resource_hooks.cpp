#include "uikit/grafext/resource_hooks.h"

#include "resources/hint_table.h"
#include "resources/images.h"

namespace lq {
namespace {

constexpr StringTableFn kDefaultTable = &HintString;
constexpr CursorLoaderFn kDefaultLoader = &LoadCursorResource;

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
