#include "platform/single_instance.h"

#include <thread>

#include "platform/hand_over_folder.h"

namespace lq {
namespace {

void Note(InstanceStart& start, const std::string& text) {
  if (!start.notes.empty()) start.notes += '\n';
  start.notes += text;
}

}  // namespace

InstanceStart StartInstance(const std::vector<std::string>& folders,
                            const std::vector<std::string>* names,
                            std::chrono::milliseconds patience, const std::string& activation_token,
                            std::chrono::milliseconds taken_patience) {
  InstanceStart start;
  for (const std::string& folder : folders) {
    const std::string socket = HandOverSocketIn(folder);
    const auto until = std::chrono::steady_clock::now() + patience;
    bool next_folder = false;
    while (!next_folder) {
      std::string error;
      bool other = false;
      start.listener = HandOverListener::Listen(socket, &error, &other);
      if (start.listener != nullptr) {
        start.role = InstanceStart::Role::kListening;
        return start;
      }
      if (!other) {
        Note(start, error);
        break;
      }
      if (names == nullptr) return start;
      switch (SendHandOver(socket, *names, &error, activation_token, taken_patience)) {
        case HandOverSend::kSent:
          start.role = InstanceStart::Role::kHandedOver;
          return start;
        case HandOverSend::kUnanswered:
          // Sent, so it may yet be taken: a window of this start's own would copy it twice.
          Note(start, error);
          start.role = InstanceStart::Role::kUnanswered;
          return start;
        case HandOverSend::kRefused:
          Note(start, error);
          next_folder = true;
          break;
        case HandOverSend::kFailed:
          Note(start, error);
          return start;
        case HandOverSend::kNotTaken:
        case HandOverSend::kNoInstance:
          // The instance holding the lock has not begun to listen yet, or is closing.
          if (std::chrono::steady_clock::now() >= until) {
            Note(start, socket + ": the running Loomquill does not answer");
            return start;
          }
          std::this_thread::sleep_for(std::chrono::milliseconds(10));
          break;
      }
    }
  }
  return start;
}

}  // namespace lq
