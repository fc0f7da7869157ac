// Runs GoogleTest inside a started wxWidgets application, so tests can build real windows.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/xrc/xmlres.h>

namespace {

class TestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Listing tests needs no display.
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  wxApp::SetInstance(new TestApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
  wxXmlResource::Get()->InitAllHandlers();
  const int rc = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return rc;
}
