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
    kHandedOver,  // the name went to the running instance: this process ends
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
// runs, else hands name over to the one that does, with the activation token this start was
// given; without a name a start never hands over and runs alone beside the running
// instance. An instance that is starting right now gets up to patience to begin listening.
InstanceStart StartInstance(const std::vector<std::string>& folders, const std::string* name,
                            std::chrono::milliseconds patience = kInstancePatience,
                            const std::string& activation_token = {});

}  // namespace lq
