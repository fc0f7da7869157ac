#include <stdlib.h>

#include "engine/path_text.h"
#include "tests/support/scoped_env.h"

namespace lq::test {
namespace {

void Set(const std::string& name, const std::optional<std::string>& value) {
  // An empty value removes the variable, as on Windows it cannot be set empty.
  ::_wputenv_s(ToPath(name).c_str(), value ? ToPath(*value).c_str() : L"");
}

}  // namespace

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
  old_ = EnvironmentText(name);
  Set(name_, value);
}

ScopedEnv::~ScopedEnv() { Set(name_, old_); }

// Read-only is an attribute on Windows, not a permission: every test of permission bits
// skips there.
bool IgnoresPermissions() { return true; }

}  // namespace lq::test
