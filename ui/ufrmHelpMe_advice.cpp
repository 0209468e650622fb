// The advice shown on the help window's "Prevention" and "Recovery" pages. The fields
// do not wrap, so every line is kept short enough to show whole.
#include <initializer_list>
#include <string>

#include "ui/ufrmHelpMe.h"

namespace {

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace

const std::string& PreventionAdvice() {
  static const std::string Text = Lines({
      "Good Practices",
      "------------------------",
      "",
      "1) Keep your web browser and Windows up to date: install the",
      "    security fixes as soon as they are offered.",
      "2) Never tell anyone your account password. Nobody who works",
      "    for the game's operator will ever ask you for it, so",
      "    whoever asks, in the game or by mail, is out to steal it.",
      "",
      "1) Read your mail through your provider's web pages rather",
      "    than in a mail program on your computer.",
      "2) Never open or run a file that came with a mail, even from",
      "    a friend: trojans send themselves from infected machines.",
      "3) Do not answer mail that was clearly meant for someone",
      "    else; delete it.",
      "4) Never send a password or any account details by mail.",
      "5) Do not give your mail address out on web sites, forums",
      "    or in the game.",
      "6) If you must give an address online, open a separate",
      "    mailbox for it and keep your game mail apart.",
      "7) Install an anti-virus program.",
      "8) Update it every day: a scanner without its latest",
      "    updates misses the newest trojans.",
      "9) Subscribe to the virus warnings of your anti-virus",
      "    maker, so that you hear of new threats early.",
      "10) Keep your address book small: every address in it is",
      "      one more target for a mail worm.",
      "11) Empty your browser's cache often and keep it small.",
      "12) Change your game password often.",
      "13) Write the password down on paper and keep it somewhere",
      "      safe, rather than in a file on your computer.",
      "14) Enter your password by copy and paste instead of typing",
      "      it (see the Recovery page).",
  });
  return Text;
}

const std::string& RecoveryAdvice() {
  static const std::string Text = Lines({
      "Recovery",
      "---------------",
      "",
      "1) Mail the game masters at once and tell them that your",
      "    password was changed by somebody else.",
      "2) Check that your anti-virus program is still running:",
      "    many trojans switch it off.",
      "3) If it has been disabled or will not start, remove it and",
      "    install it again, or install another one.",
      "4) Update the anti-virus program.",
      "5) Run a full scan of every drive.",
      "6) Look for files created in the last week, above all in the",
      "    Windows and system folders, and check what they are.",
      "7) Scan again with a second anti-virus program: no single",
      "    scanner knows every trojan.",
      "8) Run the online virus and trojan scans of the Links page.",
      "9) Reinstall your firewall, which a trojan may have changed.",
      "10) Use this utility to spot start-up entries you do not",
      "      recognise: it reports new ones at every start.",
      "11) Look up the name of any suspicious file or entry on the",
      "      web to find out what it is and how to remove it.",
      "12) Change the passwords of your other game accounts, by",
      "      copy and paste as described below.",
      "13) Log in with another account and tell your guild, so",
      "      that nobody trusts the stolen character.",
      "14) When the machine is clean, use the game's password",
      "      recovery to get your account back.",
      "15) If you are still infected, ask for help on the game's",
      "      forum.",
      "16) If problems remain, mail the Quenlar support address.",
      "",
      "Copy & Paste",
      "---------------------",
      "",
      "Most password-stealing trojans record the keys you press.",
      "They cannot see a password that is never typed. Choose a",
      "random word on a web page, copy it and paste it into the",
      "game as your new password, and keep it in a text file so",
      "that you can copy it from there each time you log in. What",
      "a keystroke logger captures is then only the copy and paste",
      "keys, never the password itself.",
  });
  return Text;
}
