// A failed wxWidgets assertion fails the running test instead of opening a message box,
// which would wait forever under Xvfb.
#include <gtest/gtest.h>
#include <wx/debug.h>
#include <wx/string.h>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wx assertion " << cond.utf8_str() << " in " << func.utf8_str() << ": " << msg.utf8_str();
}

class AssertToFailure : public testing::Environment {
 public:
  void SetUp() override { wxSetAssertHandler(&FailOnAssert); }
};

[[maybe_unused]] testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new AssertToFailure);

}  // namespace
