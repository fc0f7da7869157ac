#pragma once

#include <filesystem>
#include <functional>
#include <optional>

namespace lq::test {

// Runs body in a child process that holds no superuser rights, so that permission bits
// apply: as the user nobody when this process is root. Returns what body returned, or
// nothing when the child could not drop its rights.
std::optional<bool> AsOrdinaryUser(const std::function<bool()>& body);

// The user id AsOrdinaryUser runs as.
unsigned OrdinaryUserId();

// Makes folder the ordinary user's when this process is root, so that AsOrdinaryUser can
// make files in it; true when it is theirs (or nothing needed doing).
bool GiveToOrdinaryUser(const std::filesystem::path& folder);

}  // namespace lq::test
