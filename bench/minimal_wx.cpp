// The least a wxWidgets program does to show a window: between the bare GTK window and
// Loomquill's, it tells the toolkit's share of start-up from Loomquill's own.
//   bench_minimal_wx TITLE
#include <wx/app.h>
#include <wx/frame.h>

namespace {

class MinimalApp : public wxApp {
 public:
  bool OnInit() override {
    const wxString title = argc > 1 ? argv[1] : wxString("minimal");
    (new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(400, 300)))->Show();
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP(MinimalApp);
