#pragma once

#include <wx/window.h>

#include <string>

namespace lq::test {

// Lets loomquill.xrc create its subclassed controls even when the real classes are not
// linked: for a subclass name that wxWidgets' RTTI does not know, a plain control of the
// base class is made and tagged with that name. Call once, after wxWidgets has started.
void RegisterStandInControls();

// Whether the control is a stand-in rather than an object of the real class.
bool IsStandIn(const wxWindow* window);

// The control's subclass as loaded: the stand-in's name, else its wxWidgets class name.
std::string SubclassName(const wxWindow* window);

}  // namespace lq::test
