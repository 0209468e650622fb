// Moving text through the clipboard with the main window's hidden fields, by select-all
// plus a posted copy or paste and a round of the program's own messages. The player's
// own clipboard text is kept in edtTemp while a chat line takes the clipboard; the
// time-online line and the canned messages both do it through here.
#pragma once

#include "platform/desktop.h"
#include "platform/toolkit.h"

struct ClipboardHolder {
  platform::Toolkit& toolkit;
  platform::Desktop& desktop;
  platform::Edit& edtTemp;

  // edtTemp takes the clipboard's text.
  void SavePlayerText() { Paste(edtTemp); }
  // The clipboard gets edtTemp's text back.
  void RestorePlayerText() { Copy(edtTemp); }

  // The clipboard takes all of the field's text.
  void Copy(platform::Edit& field) {
    field.SelectAll();
    desktop.PostCopy(field.Handle());
    toolkit.ProcessMessages();
  }
  // The clipboard's text replaces all of the field's text.
  void Paste(platform::Edit& field) {
    field.SelectAll();
    desktop.PostPaste(field.Handle());
    toolkit.ProcessMessages();
  }
};
