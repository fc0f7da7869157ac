#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lq::test {

// Tests that play a second user become "nobody" in a forked child, which takes root.
// Empty when that works here; otherwise why not, for GTEST_SKIP.
std::string WhyNoOtherUser();
// The second user's id.
std::uint32_t OtherUid();

// A child process that runs body as the second user; body's result is its exit status.
class OtherUserProcess {
 public:
  explicit OtherUserProcess(const std::function<int()>& body);
  // Waits for the child, so none outlives its test.
  ~OtherUserProcess();
  OtherUserProcess(const OtherUserProcess&) = delete;
  OtherUserProcess& operator=(const OtherUserProcess&) = delete;

  // The exit status; -1 when the child did not end by itself, 3 when it could not become
  // the second user.
  int Wait();

 private:
  int pid_;
  int status_ = -1;
  bool waited_ = false;
};

}  // namespace lq::test
