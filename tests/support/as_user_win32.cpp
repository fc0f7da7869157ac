// Windows has no permission bits for these tests to drop to: the tests that need another
// user skip there.
#include "tests/support/as_user.h"

namespace lq::test {

unsigned OrdinaryUserId() { return 0; }

bool GiveToOrdinaryUser(const std::filesystem::path&) { return true; }

std::optional<bool> AsOrdinaryUser(const std::function<bool()>&) { return std::nullopt; }

}  // namespace lq::test
