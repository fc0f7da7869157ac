#include "stand_in_controls.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

namespace lq::test {
namespace {

struct StandInTag {
  std::string subclass;
  virtual ~StandInTag() = default;
};

template <class Base>
class StandIn : public Base, public StandInTag {};

class StandInFactory : public wxXmlSubclassFactory {
 public:
  wxObject* Create(const wxString& name) override {
    if (wxClassInfo::FindClass(name)) return nullptr;  // the real class is linked
    wxObject* made = nullptr;
    StandInTag* tag = nullptr;
    if (name == "TZQListBox") {
      auto* w = new StandIn<wxListBox>;
      made = w;
      tag = w;
    } else if (name == "TZQEditCursor") {
      auto* w = new StandIn<wxTextCtrl>;
      made = w;
      tag = w;
    } else if (name == "TZQCheckBox") {
      auto* w = new StandIn<wxCheckBox>;
      made = w;
      tag = w;
    } else if (name == "TZQRadioButton") {
      auto* w = new StandIn<wxRadioButton>;
      made = w;
      tag = w;
    } else if (name == "TAutoButton") {
      auto* w = new StandIn<wxButton>;
      made = w;
      tag = w;
    }
    if (tag) tag->subclass = name.ToStdString();
    return made;
  }
};

}  // namespace

void RegisterStandInControls() {
  static bool done = false;
  if (done) return;
  done = true;
  wxXmlResource::AddSubclassFactory(new StandInFactory);
}

bool IsStandIn(const wxWindow* window) {
  return dynamic_cast<const StandInTag*>(window) != nullptr;
}

std::string SubclassName(const wxWindow* window) {
  if (const auto* tag = dynamic_cast<const StandInTag*>(window)) return tag->subclass;
  return std::string(wxString(window->GetClassInfo()->GetClassName()).ToStdString());
}

}  // namespace lq::test
