// What every dialog of the program is: a form class Tfrm<Name> built on Dialog, which
// lays out its controls and holds them and their handlers, and beside it one free
// function (Ask..., Edit..., Show...) that makes the dialog on its own stack, shows it
// modally and returns what the caller needs. The owner acts on that result; a dialog
// never drives its owner. The form goes with the dialog, on every way out.
#pragma once

#include <memory>

#include "platform/toolkit.h"

class Dialog {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  platform::Form& form() { return *form_; }
  // Returns once the form has closed.
  void ShowModal() { form_->ShowModal(); }

 protected:
  Dialog(platform::Toolkit& toolkit, const platform::FormSpec& spec)
      : form_(toolkit.CreateForm(spec)) {}
  ~Dialog() = default;

  std::unique_ptr<platform::Form> form_;
};
