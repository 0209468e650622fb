#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "accounts/account_key.h"
#include "accounts/account_store.h"
#include "platform/memory/memory_view_controls.h"
#include "tests/host/main_window_support.h"

namespace main_window_test {
namespace {

using platform::FaultKind;
using platform::MemoryButton;
using platform::MemoryEdit;
using platform::MemoryForm;
using platform::MemoryListView;
using platform::MemoryToolkit;
using platform::MessageAnswer;
using platform::MessageKind;
using platform::RegistryValue;
using ::testing::Each;
using ::testing::ElementsAre;

using Driver = std::function<void(MemoryForm&)>;

class AccountsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    Create();
    Scan();
  }
  void Store(int account, char suffix, const std::string& plain) {
    registry.SetValue(HKCU, AccountKey(), settings::AccountValueName(account, suffix),
                      RegistryValue::Text(Seal(plain)));
  }
  // What the store gives for the value; "<missing>" when there is none.
  std::string Stored(int account, char suffix) {
    auto v = registry.Value(HKCU, AccountKey(), settings::AccountValueName(account, suffix));
    if (!v) return "<missing>";
    AccountStore store(services, frm->lock());
    if (suffix == settings::AccountLoginSuffix) return store.Login(account).text;
    if (suffix == settings::AccountPasswordSuffix) return store.Password(account).text;
    return UnsealText(machine.volume(), v->bytes);
  }
  // Opens the account list through "&Accounts..." and lets `drive` work it.
  void Accounts(Driver drive) {
    toolkit.ScriptModal("Accounts", [drive](platform::Form& f) { drive(MemoryToolkit::Of(f)); });
    ASSERT_TRUE(dynamic_cast<MemoryButton&>(*frm->btnAccount).UserClick());
  }
  // The next account editor: `drive` works it; its fields are edtName, edtRed, edtGreen.
  void Editor(Driver drive) {
    toolkit.ScriptModal("", [drive](platform::Form& f) { drive(MemoryToolkit::Of(f)); });
  }
  static void Type(MemoryForm& editor, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      auto& field = editor.Nth<MemoryEdit>(static_cast<int>(i));
      field.SelectAll();
      field.UserType(fields[i]);
    }
  }
  static bool Press(MemoryForm& form, const char* caption) {
    return form.ButtonCaptioned(caption).UserClick();
  }
};

TEST_F(AccountsTest, AFreshStoreListsSixteenEmptyEntriesAndEditsTheAccountInUse) {
  frm->state().SelectedAccount = 5;
  std::vector<std::string> listed;
  int highlighted = -1;
  std::vector<std::string> opened;
  Editor([&](MemoryForm& editor) {
    for (auto* field : editor.All<MemoryEdit>()) opened.push_back(field->Text());
    EXPECT_EQ(editor.Nth<MemoryEdit>(2).spec().passwordChar, '*');
    Type(editor, {"Warrior", "hero", "pa55"});
    EXPECT_TRUE(editor.UserPressEnter());
  });
  Accounts([&](MemoryForm& list) {
    auto& view = list.Nth<MemoryListView>();
    for (int i = 0; i < view.Count(); ++i) listed.push_back(view.ItemCaption(i));
    highlighted = view.SelectedIndex();
    Press(list, "&Edit");
    EXPECT_EQ(view.ItemCaption(4), "Warrior");  // listed afresh after the edit
    Press(list, "&Close");
  });
  EXPECT_EQ(listed.size(), 16u);
  EXPECT_THAT(listed, Each("Empty"));
  EXPECT_EQ(highlighted, 0);
  EXPECT_THAT(opened, ElementsAre("", "", ""));
  EXPECT_EQ(Stored(5, 'N'), "Warrior");
  EXPECT_EQ(Stored(5, '3'), "hero");
  EXPECT_EQ(Stored(5, '7'), "pa55");
  EXPECT_EQ(frm->state().SelectedAccount, 5);
  EXPECT_EQ(frm->form().Caption(), "Quenlar - Warrior");
  EXPECT_TRUE(toolkit.unexpected().empty());
}

TEST_F(AccountsTest, SavingWritesNameDecoysLoginPasswordInOrderWithFreshDecoys) {
  frm->state().SelectedAccount = 12;
  std::vector<std::string> decoys[2];
  for (auto& seen : decoys) {
    registry.faults().ClearJournal();
    Editor([](MemoryForm& editor) { Type(editor, {"", "l", "p"}), editor.UserPressEnter(); });
    Accounts([](MemoryForm& list) { Press(list, "&Edit"), Press(list, "&Select"); });
    std::vector<std::string> written;
    for (const auto& call : registry.faults().journal())
      if (call.operation == "WriteValue") written.push_back(call.name);
    EXPECT_THAT(written, ElementsAre("12N", "121", "122", "124", "125", "126", "123", "127"));
    for (char d : {'1', '2', '4', '5', '6'}) seen.push_back(Stored(12, d));
  }
  for (int i = 0; i < 5; ++i) EXPECT_NE(decoys[0][i], decoys[1][i]);
  EXPECT_EQ(Stored(12, 'N'), "");  // an empty name is listed as "Empty"
  std::string caption;
  Accounts([&](MemoryForm& list) {
    caption = list.Nth<MemoryListView>().ItemCaption(11);
    Press(list, "&Close");
  });
  EXPECT_EQ(caption, "Empty");
}

TEST_F(AccountsTest, AFailedWriteShowsAnErrorAndKeepsTheEditorOpenWithWhatWasTyped) {
  for (FaultKind kind : {FaultKind::Fail, FaultKind::Throw}) {
    for (int nth = 1; nth <= 8; ++nth) {
      SCOPED_TRACE(nth);
      registry.DeleteKey(HKCU, AccountKey());
      bool keptOpen = false;
      Editor([&](MemoryForm& editor) {
        Type(editor, {"Warrior", "hero", "pa55"});
        registry.faults().Arm({nth, false, kind, "WriteValue"});
        editor.UserPressEnter();
        keptOpen = editor.Showing() && editor.Nth<MemoryEdit>(2).Text() == "pa55";
      });
      toolkit.ScriptMessageOfKind(MessageKind::Error, MessageAnswer::Ok);
      Accounts([](MemoryForm& list) { Press(list, "&Edit"), Press(list, "&Close"); });
      EXPECT_TRUE(keptOpen);
      // Nothing after the failed write is stored; the password is always written last.
      EXPECT_EQ(Stored(1, '7'), "<missing>");
    }
  }
  EXPECT_TRUE(toolkit.unexpected().empty());
}

TEST_F(AccountsTest, TheFieldsTakeNoMoreThanTheGameFieldsReceive) {
  std::vector<std::size_t> lengths;
  Editor([&](MemoryForm& editor) {
    Type(editor, {std::string(200, 'n'), std::string(200, 'l'), std::string(200, 'p')});
    for (auto* field : editor.All<MemoryEdit>()) lengths.push_back(field->Text().size());
  });
  Accounts([](MemoryForm& list) { Press(list, "&Edit"), Press(list, "&Close"); });
  EXPECT_THAT(lengths, ElementsAre(144u, 144u, 144u));
}

TEST_F(AccountsTest, AClickChoosesTheAccountAndClosingAsksForTheTargetWithTimeOnline) {
  Store(12, 'N', "Mage");
  Store(3, 'N', "Taoist");
  frm->lock().Unlocked = true;
  frm->mnuTime->SetChecked(true);
  toolkit.ScriptInput("Message Target", std::string("Kael"));
  toolkit.ScriptInput("Message Target", std::string("Lin"));
  Accounts([](MemoryForm& list) {
    list.Nth<MemoryListView>().UserClickItem(11);
    list.Nth<MemoryListView>().UserClickItem(-1);  // no entry: nothing changes
    Press(list, "&Close");
  });
  EXPECT_EQ(frm->state().SelectedAccount, 12);
  EXPECT_EQ(frm->form().Caption(), "Quenlar - Mage");
  EXPECT_FALSE(frm->lock().Unlocked);
  Accounts([](MemoryForm& list) {
    list.Nth<MemoryListView>().UserClickItem(2);
    Press(list, "&Select");
  });
  EXPECT_EQ(frm->form().Caption(), "Quenlar - Taoist");
  EXPECT_EQ(frm->state().messages.MessageTarget, "Lin");
  EXPECT_EQ(toolkit.inputBoxes().size(), 2u);
}

TEST_F(AccountsTest, WithThePasswordOnEditingNeedsItAndADoubleClickEditsTheEntry) {
  SetAccess("Login", RegistryValue::Text(Seal("Secret")));
  frm->lock().PasswordEnabled = 1;
  frm->lock().Unlocked = true;
  auto answer = [&](const char* typed) {
    toolkit.ScriptModal("Utility Login", [typed](platform::Form& f) {
      MemoryToolkit::Of(f).Nth<MemoryEdit>(0).UserType(typed);
      MemoryToolkit::Of(f).UserPressEnter();
    });
  };
  answer("secret");
  toolkit.ScriptMessage(MessageKind::Information, "Invalid Password!", MessageAnswer::Ok);
  answer("Secret");
  Editor([](MemoryForm& editor) { Type(editor, {"Rogue"}), editor.UserPressEnter(); });
  Accounts([](MemoryForm& list) {
    list.Nth<MemoryListView>().UserDoubleClickItem(6);  // refused: no editor
    list.Nth<MemoryListView>().UserDoubleClickItem(7);
    Press(list, "&Close");
  });
  EXPECT_EQ(Stored(7, 'N'), "<missing>");
  EXPECT_EQ(Stored(8, 'N'), "Rogue");
  EXPECT_EQ(toolkit.UnusedScripts(), 0);
  EXPECT_TRUE(toolkit.unexpected().empty());
}

// Save pressed on what the editor showed must store those very texts, and leave no
// password behind in the editor's field.
TEST_F(AccountsTest, SavingUnchangedStoresExactlyWhatWasThereAndTheFirstEntryIsChosen) {
  struct Case {
    std::string name, login, password;
  };
  for (const Case& c :
       {Case{"Warrior", "hero", "pa55"}, Case{" Mage ", "l\xe9on", std::string(144, 'p')},
        Case{"", "", "only a password"}}) {
    SCOPED_TRACE(c.name);
    frm->state().SelectedAccount = 9;
    Store(1, 'N', c.name);
    Store(1, '3', c.login);
    Store(1, '7', c.password);
    std::string left = "<not saved>";
    Editor([&](MemoryForm& editor) {
      editor.UserPressEnter();
      left = editor.Nth<MemoryEdit>(2).Text();
    });
    Accounts([](MemoryForm& list) {
      list.Nth<MemoryListView>().UserClickItem(0);
      Press(list, "&Edit");
      Press(list, "&Select");
    });
    EXPECT_EQ(frm->state().SelectedAccount, 1);
    EXPECT_EQ(Stored(1, 'N'), c.name);
    EXPECT_EQ(Stored(1, '3'), c.login);
    EXPECT_EQ(Stored(1, '7'), c.password);
    EXPECT_EQ(left, "");
  }
  EXPECT_TRUE(toolkit.unexpected().empty());
}

}  // namespace
}  // namespace main_window_test
