#pragma once

// The form an ActiveX control shows: a window the control object makes as a child of the
// container's window and lays out for the system's DPI. The form may answer interfaces of its own
// (asked before the control object's); they share the control object's identity and references.

#include <windows.h>

#include <oaidl.h>

namespace qor::framework {

class TActiveFormControl;

class TActiveForm {
 public:
  virtual ~TActiveForm() = default;

  // The client size as designed, in pixels at 96 DPI.
  virtual SIZE DesignedSize() const = 0;
  // Makes the form's window, hidden, as a child of `parent`; called once, before Handle.
  virtual HWND CreateFormWindow(HWND parent) = 0;
  virtual HWND Handle() const noexcept = 0;
  // An interface of the form's own, AddRef'ed through the control object; E_NOINTERFACE for others.
  virtual HRESULT QueryFormInterface(REFIID iid, void** object) noexcept {
    *object = nullptr;
    (void)iid;
    return E_NOINTERFACE;
  }

  // The control object showing the form; set once it is made, null once it goes.
  TActiveFormControl* Control() const noexcept { return control_; }
  void SetControl(TActiveFormControl* control) noexcept { control_ = control; }

 private:
  TActiveFormControl* control_ = nullptr;
};

}  // namespace qor::framework
