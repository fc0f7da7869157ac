#pragma once

#include <optional>
#include <string>

namespace lq::test {

// Sets an environment variable for the life of the object, then restores it.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// True when permission bits do not stop this process (root), so such tests cannot run.
bool IgnoresPermissions();

}  // namespace lq::test
