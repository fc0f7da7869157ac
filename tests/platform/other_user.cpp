#include "tests/platform/other_user.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lq::test {
namespace {

constexpr const char* kOtherUser = "nobody";

}  // namespace

std::string WhyNoOtherUser() {
  if (geteuid() != 0) return "needs root to become a second user";
  if (getpwnam(kOtherUser) == nullptr) return std::string("no user named ") + kOtherUser;
  return {};
}

std::uint32_t OtherUid() {
  const passwd* pw = getpwnam(kOtherUser);
  return pw == nullptr ? 65534 : pw->pw_uid;
}

OtherUserProcess::OtherUserProcess(const std::function<int()>& body) {
  const passwd* pw = getpwnam(kOtherUser);
  const uid_t uid = pw == nullptr ? 65534 : pw->pw_uid;
  const gid_t gid = pw == nullptr ? 65534 : pw->pw_gid;
  pid_ = fork();
  if (pid_ == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0) _exit(3);
    _exit(body());
  }
}

OtherUserProcess::~OtherUserProcess() { Wait(); }

int OtherUserProcess::Wait() {
  if (waited_ || pid_ <= 0) return status_;
  int status = 0;
  waited_ = true;
  if (waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) status_ = WEXITSTATUS(status);
  return status_;
}

}  // namespace lq::test
