#pragma once

#include <string>
#include <vector>

#include "engine/result.h"

namespace lq {

// The private folders the running instance's socket may live in, first choice first, each
// with a trailing separator: $XDG_RUNTIME_DIR/loomquill/ (else /tmp/loomquill-<uid>/), then
// $XDG_CACHE_HOME/loomquill/hand-over/ (else ~/.cache/...) for when someone else holds the
// first. Senders and listeners go through them in the same order.
std::vector<std::string> HandOverFolders();
// The first choice.
std::string HandOverFolder();
// The socket "ZQ_LOOMQUILL" in folder (which ends in a separator).
std::string HandOverSocketIn(const std::string& folder);
// The socket in the first choice.
std::string HandOverSocketPath();

enum class FolderCheck { kPrivate, kMissing };

// kPrivate for a real folder (not a link) of this user with no access for others, kMissing
// when there is none; anything else there fails, the failure naming the folder and why.
Result<FolderCheck> CheckPrivateFolder(const std::string& folder);

// Creates the folder (and missing parents) with mode 0700, then checks it as above.
Status EnsurePrivateFolder(const std::string& folder);

}  // namespace lq
