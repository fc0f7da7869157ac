#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/as_user.h"

namespace lq::test {
namespace {

constexpr int kCannotDrop = 3;

}  // namespace

unsigned OrdinaryUserId() {
  if (::geteuid() != 0) return ::geteuid();
  const passwd* nobody = ::getpwnam("nobody");
  return nobody != nullptr ? nobody->pw_uid : 65534;
}

bool GiveToOrdinaryUser(const std::filesystem::path& folder) {
  return ::geteuid() != 0 || ::chown(folder.c_str(), OrdinaryUserId(), static_cast<gid_t>(-1)) == 0;
}

std::optional<bool> AsOrdinaryUser(const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
      const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
      if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
        ::_exit(kCannotDrop);
      }
    }
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return std::nullopt;
  if (WEXITSTATUS(status) == kCannotDrop) return std::nullopt;
  return WEXITSTATUS(status) == 0;
}

}  // namespace lq::test
