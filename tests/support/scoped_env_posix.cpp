#include <stdlib.h>
#include <unistd.h>

#include "tests/support/scoped_env.h"

namespace lq::test {

ScopedEnv::ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
  if (const char* old = getenv(name)) old_ = old;
  if (value) {
    setenv(name, value->c_str(), 1);
  } else {
    unsetenv(name);
  }
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

bool IgnoresPermissions() { return geteuid() == 0; }

}  // namespace lq::test
