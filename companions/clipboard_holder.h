// Moving text through the clipboard with the main window's hidden fields, by select-all
// plus a posted copy or paste and a round of the program's own messages. While a chat
// line takes the clipboard, the player's own contents are kept whole (pictures and file
// lists too) and given back afterwards; their text also goes through edtTemp. The
// time-online line and the canned messages both do it through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/desktop.h"
#include "platform/toolkit.h"

// The player's clipboard while the chat posts borrow it: shared by both posts, so that
// a copy that could not go back yet (another program held the clipboard) is given back
// by the next post rather than replaced by that post's own line.
class PlayerClipboard {
 public:
  // Keeps the player's contents, or puts back the copy still waiting. False when the
  // clipboard cannot be opened: then nothing may be posted.
  bool Take(platform::Desktop& desktop) {
    // Something new on the clipboard since our line went there: the player's now.
    if (kept_ && desktop.ClipboardSequence() != lineSequence_) kept_.reset();
    if (kept_) return desktop.RestoreClipboard(*kept_);
    kept_ = desktop.SaveClipboard();
    return kept_.has_value();
  }
  // After the line was copied: what the clipboard then holds is ours.
  void LineCopied(platform::Desktop& desktop) { lineSequence_ = desktop.ClipboardSequence(); }
  // Gives the contents back; a failure keeps them for the next post.
  void GiveBack(platform::Desktop& desktop) {
    if (kept_ && desktop.RestoreClipboard(*kept_)) kept_.reset();
  }

 private:
  std::optional<platform::ClipboardContents> kept_;
  std::uint32_t lineSequence_ = 0;
};

struct ClipboardHolder {
  platform::Toolkit& toolkit;
  platform::Desktop& desktop;
  platform::Edit& edtTemp;
  PlayerClipboard& player;

  // Keeps the player's clipboard and puts `line` on it through `field`. False, with the
  // player's clipboard as it was, when another program holds the clipboard.
  bool PutLine(platform::Edit& field, const std::string& line) {
    if (!player.Take(desktop)) return false;
    Paste(edtTemp);
    field.SetText(line);
    const std::uint32_t before = desktop.ClipboardSequence();
    Copy(field);
    if (desktop.ClipboardSequence() == before) {
      // The copy did not get through: the game would paste the player's text.
      GiveBack();
      return false;
    }
    player.LineCopied(desktop);
    return true;
  }
  // The clipboard gets the player's contents back.
  void GiveBack() {
    Copy(edtTemp);
    player.GiveBack(desktop);
  }

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
