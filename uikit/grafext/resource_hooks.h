#pragma once

#include <wx/cursor.h>

#include <string>
#include <string_view>

namespace lq {

// Where the kit finds hint texts and named cursors: the resources when they are linked,
// or whatever a test installs. Passing nullptr restores the default.
using StringTableFn = std::string_view (*)(int id);
using CursorLoaderFn = wxCursor (*)(const std::string& name);

void SetStringTable(StringTableFn table);
StringTableFn CurrentStringTable();

void SetCursorLoader(CursorLoaderFn loader);
// The cursor of a resource name; a name that names no cursor gives the blank cursor, so the
// pointer is not shown (an empty name is the caller's "no cursor of its own").
wxCursor LoadNamedCursor(const std::string& name);

}  // namespace lq
