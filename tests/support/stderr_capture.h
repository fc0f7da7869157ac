#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace lq::test {

// Sends this process's standard error to a file until Stop, so that a test can read back
// what the toolkit said while it ran.
class StderrCapture {
 public:
  void Start(const std::filesystem::path& file) {
    file_ = file;
    std::fflush(stderr);
    saved_ = ::dup(2);
    const int log = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(log, 2);
    ::close(log);
  }
  void Stop() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    saved_ = -1;
  }
  std::string Text() const {
    std::fflush(stderr);
    std::ifstream in(file_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path file_;
  int saved_ = -1;
};

}  // namespace lq::test
