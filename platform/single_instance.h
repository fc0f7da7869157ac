#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/hand_over_channel.h"

namespace lq {

// How a start goes on after looking for the running instance.
struct InstanceStart {
  enum class Role {
    kHandedOver,  // the running instance has taken the names: this process ends
    kUnanswered,  // the running instance has not said it took them: this process ends
    kListening,   // this process is the running instance now
    kAlone,       // a window of its own that hears no hand-over
  };
  Role role = Role::kAlone;
  std::unique_ptr<HandOverListener> listener;  // for kListening
  // Each folder passed over and why, one a line; empty when all went as it should.
  std::string notes;
};

inline constexpr std::chrono::milliseconds kInstancePatience = std::chrono::seconds(5);

// Goes through folders in order (HandOverFolders()): becomes the running instance where none
// runs, else hands names over to the one that does, all in one message, with the activation
// token this start was given; without names a start never hands over and runs alone beside
// the running instance. An instance that is starting right now, or closing, gets up to
// patience to begin listening or to be gone; taken_patience is how long its window may take
// to take the names.
InstanceStart StartInstance(const std::vector<std::string>& folders,
                            const std::vector<std::string>* names,
                            std::chrono::milliseconds patience = kInstancePatience,
                            const std::string& activation_token = {},
                            std::chrono::milliseconds taken_patience = kTakenPatience);

}  // namespace lq
