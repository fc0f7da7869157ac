#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lq {

// Records every start; each kind succeeds as configured (by default everything fails, so a
// test sees every stage that is tried).
class FakeLauncher : public Launcher {
 public:
  enum class Kind { kAssociation, kProgram, kTextEditor };
  struct Call {
    Kind kind;
    std::vector<std::string> args;  // the target, the argv, or the file
    bool operator==(const Call&) const = default;
  };

  bool OpenWithAssociation(const std::string& target) override;
  bool StartProgram(const std::vector<std::string>& argv) override;
  bool OpenInTextEditor(const std::string& file) override;

  std::function<bool(const std::string&)> association_ok = [](const std::string&) { return false; };
  std::function<bool(const std::vector<std::string>&)> program_ok =
      [](const std::vector<std::string>&) { return false; };
  bool text_editor_ok = true;

  std::vector<Call> calls;
};

}  // namespace lq
