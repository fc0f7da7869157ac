#include "platform/launch_command.h"

namespace lq {

std::string TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::vector<std::string>> ProgramStartCandidates(std::string_view text) {
  std::vector<std::vector<std::string>> candidates;
  if (text.empty()) return candidates;
  const auto with_rest = [&](std::string program, std::string_view rest) {
    const auto arg = rest.find_first_not_of(' ');
    std::vector<std::string> argv{std::move(program)};
    if (arg != std::string_view::npos) argv.emplace_back(rest.substr(arg));
    candidates.push_back(std::move(argv));
  };
  if (text.front() == '"') {
    const auto close = text.find('"', 1);
    if (close != std::string_view::npos) {
      if (close > 1) with_rest(std::string(text.substr(1, close - 1)), text.substr(close + 1));
      return candidates;
    }
  }
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == ' ' && text[i - 1] != ' ') {
      with_rest(std::string(text.substr(0, i)), text.substr(i));
    }
  }
  candidates.push_back({std::string(text)});
  return candidates;
}

LaunchStage LaunchCommand(Launcher& launcher, const std::string& command) {
  const std::string work = TrimSpaces(command);
  if (work.empty()) return LaunchStage::kNone;

  if (launcher.OpenWithAssociation(work)) return LaunchStage::kAssociation;

  const auto slash = work.find('/');
  if (slash != std::string::npos) {
    std::string file = work.substr(0, slash);
    file.erase(file.find_last_not_of(' ') + 1);
    // A leading '/' is an absolute name, not a program with a switch.
    if (!file.empty() && launcher.StartProgram({file, work.substr(slash)})) {
      return LaunchStage::kSplitRetry;
    }
  }

  for (const auto& argv : ProgramStartCandidates(work)) {
    if (launcher.StartProgram(argv)) return LaunchStage::kProgramStart;
  }
  return LaunchStage::kNone;
}

}  // namespace lq
