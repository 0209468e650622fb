#include "platform/win32/win32_toolkit.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_system.h"
#include "tests/win32/ui_pump.h"

namespace {

using namespace platform;
using ui_pump::PumpUntil;
using ui_pump::ToHwnd;
using ui_pump::WhenShown;

class UiTest : public ::testing::Test {
 protected:
  FormSpec MainSpec() {
    FormSpec spec;
    spec.caption = "Quenlar";
    spec.clientWidth = 442;
    spec.clientHeight = 279;
    spec.background = colors::Black;
    spec.maximizeBox = false;
    return spec;
  }

  win32::Win32Cursor cursor_;
  win32::Win32Toolkit toolkit_{cursor_};
};

LRESULT Send(WindowHandle window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(ToHwnd(window), message, wParam, lParam);
}

ButtonSpec Plain(Bounds bounds, const std::string& caption, int tabOrder) {
  ButtonSpec spec;
  spec.bounds = bounds;
  spec.caption = caption;
  spec.tabOrder = tabOrder;
  return spec;
}

LabelSpec Caption(Bounds bounds, const std::string& caption) {
  LabelSpec spec;
  spec.bounds = bounds;
  spec.caption = caption;
  return spec;
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

TEST_F(UiTest, FormKeepsItsClientSizeWithAMenuBarAndIsCentred) {
  bool closed = false;
  auto form = toolkit_.CreateForm(MainSpec(), [&] { closed = true; });
  form->AddMenu("&Menu", {});
  form->AddMenu("&Options", {});
  form->AddMenu("&Help", {}, [] {});
  HWND window = ToHwnd(form->Handle());
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 442);
  EXPECT_EQ(client.bottom, 279);
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(form->Caption(), "Quenlar");
  form->SetCaption("Quenlar - Main");
  EXPECT_EQ(form->Caption(), "Quenlar - Main");

  EXPECT_FALSE(form->Showing());
  form->Show();
  EXPECT_TRUE(form->Showing());
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

  // The title bar's close button: onClose runs, the window is hidden but not destroyed.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(form->Showing());
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(UiTest, BorderStylesGiveTheirFrames) {
  FormSpec spec;
  spec.clientWidth = 200;
  spec.clientHeight = 100;
  spec.border = BorderStyle::Dialog;
  auto dialog = toolkit_.CreateForm(spec);
  HWND window = ToHwnd(dialog->Handle());
  EXPECT_FALSE(GetWindowLongPtrA(window, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

  spec.border = BorderStyle::ToolWindow;
  auto tool = toolkit_.CreateForm(spec);
  EXPECT_TRUE(GetWindowLongPtrA(ToHwnd(tool->Handle()), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

  spec.border = BorderStyle::Sizeable;
  auto sizeable = toolkit_.CreateForm(spec);
  EXPECT_TRUE(GetWindowLongPtrA(ToHwnd(sizeable->Handle()), GWL_STYLE) & WS_THICKFRAME);
  RECT client;
  GetClientRect(ToHwnd(sizeable->Handle()), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
}

TEST_F(UiTest, ColoursReachTheControlsThroughTheirParent) {
  auto form = toolkit_.CreateForm(MainSpec());
  LabelSpec label;
  label.bounds = {12, 16, 347, 32};
  label.caption = "If you don't see this message on startup";
  label.font.color = colors::Yellow;
  label.font.points = 10;
  label.transparent = true;
  Control& message = form->AddLabel(label);
  MemoSpec memoSpec;
  memoSpec.bounds = {8, 64, 425, 129};
  memoSpec.readOnly = true;
  Memo& memo = form->AddMemo(memoSpec);

  HDC dc = GetDC(nullptr);
  auto brush = Send(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                    static_cast<LPARAM>(message.Handle()));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 0));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

  EXPECT_EQ(memo.FontColor(), colors::Black);
  memo.SetFontColor(colors::Red);
  EXPECT_EQ(memo.FontColor(), colors::Red);
  // A read-only edit asks for its colours as a static does.
  Send(form->Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
       static_cast<LPARAM>(memo.Handle()));
  EXPECT_EQ(GetTextColor(dc), RGB(255, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  ReleaseDC(nullptr, dc);
}

// The state and Click of menus are checked on both backends; here, the real menu the
// window carries and the messages that reach the handlers.
TEST_F(UiTest, MenusAreTheWindowsRealMenuAndItsMessagesReachTheHandlers) {
  auto form = toolkit_.CreateForm(MainSpec());
  int popups = 0;
  int resets = 0;
  int helps = 0;
  Menu& menu = form->AddMenu("&Menu", [&] { ++popups; });
  menu.AddItem({"&Reset Config...", false, [&] { ++resets; }});
  menu.AddSeparator();
  MenuItem& password = menu.AddItem({"&Enable Password...", false, {}});
  Menu& options = form->AddMenu("&Options", {});
  options.AddItem({"&Stealth Mode", true, {}});
  form->AddMenu("&Help", {}, [&] { ++helps; });
  EXPECT_EQ(menu.Items().size(), 3u);  // the separator is listed too

  HMENU bar = GetMenu(ToHwnd(form->Handle()));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  HMENU dropDown = GetSubMenu(bar, 0);
  ASSERT_NE(dropDown, nullptr);
  EXPECT_EQ(GetMenuItemCount(dropDown), 3);  // the separator included
  EXPECT_EQ(GetSubMenu(bar, 2), nullptr);    // "&Help" is an item of its own
  password.SetCaption("&Disable Password...");
  char caption[64] = {};
  GetMenuStringA(dropDown, 2, caption, sizeof caption, MF_BYPOSITION);
  EXPECT_STREQ(caption, "&Disable Password...");

  Send(form->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(dropDown), 0);
  EXPECT_EQ(popups, 1);
  Send(form->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(dropDown, 0), 0), 0);
  EXPECT_EQ(resets, 1);
  Send(form->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(bar, 2), 0), 0);
  EXPECT_EQ(helps, 1);
}

TEST_F(UiTest, ButtonsClickAndTheKeyboardPressesDefaultAndCancel) {
  auto form = toolkit_.CreateForm(MainSpec());
  int plays = 0;
  int exits = 0;
  int cancels = 0;
  form->AddButton({{359, 200, 75, 25}, "&Play", 2, true, true, [&] { ++plays; }});
  Button& exit = form->AddButton({{359, 232, 75, 25}, "E&xit", 3, false, false, [&] { ++exits; }});
  form->AddButton({{277, 232, 75, 25}, "Cancel", 4, true, false, [&] { ++cancels; }, true});
  Edit& edit = form->AddEdit({{8, 8, 100, 21}, "", 0});
  exit.SetEnabled(true);
  Send(exit.Handle(), BM_CLICK);
  EXPECT_EQ(exits, 1);

  form->Show();
  PostMessageA(ToHwnd(edit.Handle()), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil(toolkit_, [&] { return plays == 1; }));
  PostMessageA(ToHwnd(edit.Handle()), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(PumpUntil(toolkit_, [&] { return cancels == 1; }));
}

TEST_F(UiTest, TabOrderFollowsTheGivenOrderNotCreation) {
  auto form = toolkit_.CreateForm(MainSpec());
  Button& third = form->AddButton(Plain({10, 10, 75, 25}, "C", 2));
  Button& first = form->AddButton(Plain({10, 40, 75, 25}, "A", 0));
  Button& second = form->AddButton(Plain({10, 70, 75, 25}, "B", 1));
  Edit& fourth = form->AddEdit({{10, 100, 75, 21}, "", 3});
  form->Show();
  HWND window = ToHwnd(form->Handle());
  std::vector<HWND> stacked;
  for (HWND at = GetWindow(window, GW_CHILD); at; at = GetWindow(at, GW_HWNDNEXT))
    stacked.push_back(at);
  const std::vector<HWND> expected{ToHwnd(first.Handle()), ToHwnd(second.Handle()),
                                   ToHwnd(third.Handle()), ToHwnd(fourth.Handle())};
  EXPECT_EQ(stacked, expected);
  for (size_t i = 0; i + 1 < expected.size(); ++i)
    EXPECT_EQ(GetNextDlgTabItem(window, expected[i], FALSE), expected[i + 1]) << i;
}

TEST_F(UiTest, ApplicationCursorSticksOverFormAndControls) {
  auto form = toolkit_.CreateForm(MainSpec());
  Edit& edit = form->AddEdit({{8, 8, 100, 21}, "", 0});
  RichEditSpec richSpec;
  richSpec.bounds = {8, 40, 200, 80};
  Control& rich = form->AddRichEdit(richSpec);
  Control& label = form->AddLabel(Caption({8, 130, 100, 13}, "Version 1.16"));
  form->Show();
  const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  auto answer = [&](WindowHandle window) {
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    Send(window, WM_SETCURSOR, static_cast<WPARAM>(window), overClient);
    return GetCursor();
  };

  cursor_.Set(crHandPoint);
  HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
  EXPECT_EQ(answer(edit.Handle()), hand);
  EXPECT_EQ(answer(rich.Handle()), hand);
  EXPECT_EQ(answer(label.Handle()), hand);
  EXPECT_EQ(answer(form->Handle()), hand);

  cursor_.Set(crDefault);
  EXPECT_EQ(answer(edit.Handle()), LoadCursor(nullptr, IDC_IBEAM));
}

TEST_F(UiTest, LabelsEditsAndTheFormReportTheirEvents) {
  std::vector<Point> formMoves;
  FormSpec spec = MainSpec();
  spec.onMouseMove = [&](const MouseEvent& event) { formMoves.push_back(event.at); };
  auto form = toolkit_.CreateForm(spec);
  int clicks = 0;
  std::vector<Point> labelMoves;
  LabelSpec contact;
  contact.bounds = {168, 245, 166, 13};
  contact.caption = "Contact";
  contact.transparent = true;
  contact.onClick = [&] { ++clicks; };
  contact.onMouseMove = [&](const MouseEvent& event) { labelMoves.push_back(event.at); };
  Control& label = form->AddLabel(contact);
  Control& plain = form->AddLabel(Caption({16, 253, 59, 13}, "Version 1.16"));
  Edit& password = form->AddEdit({{8, 8, 100, 21}, "secret", 0, true, '*'});
  Edit& hidden = form->AddEdit({{}, "Time", 0, false});
  form->Show();

  Send(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ToHwnd(label.Handle())), STN_CLICKED),
       static_cast<LPARAM>(label.Handle()));
  EXPECT_EQ(clicks, 1);
  Send(label.Handle(), WM_MOUSEMOVE, 0, At(3, 4));
  ASSERT_EQ(labelMoves.size(), 1u);
  EXPECT_EQ(labelMoves[0].x, 3);
  EXPECT_EQ(labelMoves[0].y, 4);
  Send(form->Handle(), WM_MOUSEMOVE, 0, At(400, 20));
  ASSERT_EQ(formMoves.size(), 1u);
  EXPECT_EQ(formMoves[0].x, 400);

  // The pointer over any label is the label's, not the form background's.
  Point onPlain = plain.ClientToScreen({2, 2});
  EXPECT_EQ(Send(plain.Handle(), WM_NCHITTEST, 0, At(onPlain.x, onPlain.y)), HTCLIENT);

  EXPECT_EQ(Send(password.Handle(), EM_GETPASSWORDCHAR), '*');
  EXPECT_EQ(password.Text(), "secret");
  EXPECT_FALSE(hidden.Visible());
  EXPECT_TRUE(IsWindow(ToHwnd(hidden.Handle())));
  hidden.SelectAll();
  DWORD start = 0, end = 0;
  Send(hidden.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
       reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 4u);
  plain.SetVisible(false);
  EXPECT_FALSE(plain.Visible());
}

TEST_F(UiTest, ListViewHoldsItemsSelectionAndNotifies) {
  auto form = toolkit_.CreateForm(MainSpec());
  int clicks = 0;
  int doubleClicks = 0;
  ListView& list =
      form->AddListView({{8, 8, 200, 150}, 0, [&] { ++clicks; }, [&] { ++doubleClicks; }});
  // Captions and selection are checked on both backends; here, the control's kind and
  // the notifications that reach the handlers.
  for (const char* name : {"Warrior", "Wizard", "Taoist"}) list.AddItem(name);
  LONG_PTR style = GetWindowLongPtrA(ToHwnd(list.Handle()), GWL_STYLE);
  EXPECT_EQ(style & LVS_TYPEMASK, LVS_LIST);
  EXPECT_FALSE(style & LVS_EDITLABELS);

  NMHDR header{ToHwnd(list.Handle()), static_cast<UINT_PTR>(GetDlgCtrlID(ToHwnd(list.Handle()))),
               static_cast<UINT>(NM_DBLCLK)};
  Send(form->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  header.code = static_cast<UINT>(NM_CLICK);
  Send(form->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(doubleClicks, 1);
  EXPECT_EQ(clicks, 1);
}

TEST_F(UiTest, PagesShowOneAtATimeAndRouteTheirControls) {
  auto form = toolkit_.CreateForm(MainSpec());
  PageControl& pages = form->AddPageControl({{8, 8, 420, 260}, 0, true, true});
  Container& general = pages.AddPage("General", {});
  Container& credits = pages.AddPage("Credits", {});
  int closes = 0;
  int thanks = 0;
  Edit& field = general.AddEdit({{8, 8, 100, 21}, "", 0});
  general.AddButton({{8, 40, 75, 25}, "Close", 1, true, true, [&] { ++closes; }});
  Button& thank = credits.AddButton({{8, 8, 75, 25}, "Thanks", 0, true, false, [&] { ++thanks; }});
  EXPECT_EQ(pages.PageCount(), 2);
  EXPECT_EQ(pages.ActivePage(), 0);
  LONG_PTR style = GetWindowLongPtrA(ToHwnd(pages.Handle()), GWL_STYLE);
  EXPECT_TRUE(style & TCS_VERTICAL);
  EXPECT_TRUE(style & TCS_RIGHT);

  auto pageShown = [](Control& control) {
    return (GetWindowLongPtrA(GetParent(ToHwnd(control.Handle())), GWL_STYLE) & WS_VISIBLE) != 0;
  };
  EXPECT_TRUE(pageShown(field));
  EXPECT_FALSE(pageShown(thank));
  pages.SetActivePage(1);
  EXPECT_EQ(pages.ActivePage(), 1);
  EXPECT_FALSE(pageShown(field));
  EXPECT_TRUE(pageShown(thank));

  Send(thank.Handle(), BM_CLICK);
  EXPECT_EQ(thanks, 1);
  std::vector<Point> pageMoves;
  pages.SetPageMouseMove(1, [&](const MouseEvent& event) { pageMoves.push_back(event.at); });
  Send(reinterpret_cast<WindowHandle>(GetParent(ToHwnd(thank.Handle()))), WM_MOUSEMOVE, 0,
       At(150, 120));
  ASSERT_EQ(pageMoves.size(), 1u);
  EXPECT_EQ(pageMoves[0].x, 150);

  // A tab chosen by the player: the control changes, then notifies.
  Send(pages.Handle(), TCM_SETCURSEL, 0);
  NMHDR header{ToHwnd(pages.Handle()), static_cast<UINT_PTR>(GetDlgCtrlID(ToHwnd(pages.Handle()))),
               static_cast<UINT>(TCN_SELCHANGE)};
  Send(form->Handle(), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  EXPECT_TRUE(pageShown(field));

  // Enter in a page's edit presses the form's default button though it sits on a page.
  form->Show();
  PostMessageA(ToHwnd(field.Handle()), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(PumpUntil(toolkit_, [&] { return closes == 1; }));
}

TEST_F(UiTest, PictureButtonsFollowThePointer) {
  auto form = toolkit_.CreateForm(MainSpec());
  int helps = 0;
  ImageButton& help =
      form->AddImageButton({{88, 246, 65, 26}, "HelpUp", "HelpDown", "HelpOver", [&] { ++helps; }});
  int imageClicks = 0;
  Control& image = form->AddImage({300, 10, 0, 0}, "Logo", [&] { ++imageClicks; });
  form->Show();

  // The pictures' sequence is checked on both backends. Released away: no click.
  Send(help.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  Send(help.Handle(), WM_LBUTTONUP, 0, At(500, 5));
  EXPECT_EQ(helps, 0);

  RECT own;
  GetClientRect(ToHwnd(image.Handle()), &own);
  EXPECT_GT(own.right, 0);
  EXPECT_GT(own.bottom, 0);
  Send(image.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(1, 1));
  Send(image.Handle(), WM_LBUTTONUP, 0, At(1, 1));
  EXPECT_EQ(imageClicks, 1);
}

TEST_F(UiTest, RichEditIsACommonControlAndTheClipRestsOnItsStopFrame) {
  auto form = toolkit_.CreateForm(MainSpec());
  RichEditSpec spec;
  spec.bounds = {8, 8, 300, 200};
  spec.font.color = colors::Blue;
  spec.text = "Quenlar keeps your password safe.";
  Control& rich = form->AddRichEdit(spec);  // its text and the clip's state: both backends
  char name[64] = {};
  GetClassNameA(ToHwnd(rich.Handle()), name, sizeof name);
  EXPECT_EQ(_strnicmp(name, "RichEdit", 8), 0) << name;
  EXPECT_TRUE(GetWindowLongPtrA(ToHwnd(rich.Handle()), GWL_STYLE) & ES_READONLY);

  Animation& busy = form->AddAnimation({{376, 5, 48, 45}, 8});
  auto frame = [&] { return Send(busy.Handle(), win32::AnimationFrameMessage); };
  EXPECT_EQ(frame(), 8);
  busy.SetActive(true);
  EXPECT_TRUE(PumpUntil(toolkit_, [&] { return frame() != 8; }));
  busy.SetActive(false);
  EXPECT_EQ(frame(), 8);
}

TEST_F(UiTest, InputBoxClosedByItsFrameReturnsTheStartText) {
  auto main = toolkit_.CreateForm(MainSpec());
  main->Show();
  const std::string title = "Message Target";
  const std::string prompt = "Please enter the name of the player you will be using";
  // OK and Cancel are checked on both backends; here, the window closed by its frame.
  {
    WhenShown close(toolkit_, "QuenlarForm", title,
                    [](HWND box) { PostMessageA(box, WM_CLOSE, 0, 0); });
    EXPECT_EQ(toolkit_.InputBox(title, prompt, "Old"), "Old");
  }
  EXPECT_TRUE(IsWindowEnabled(ToHwnd(main->Handle())));
}

TEST_F(UiTest, OpenDialogFilterIsThePairsEachEndedByANul) {
  EXPECT_EQ(win32::DialogFilter("Executable|*.exe"), std::string("Executable\0*.exe\0\0", 18));
  EXPECT_EQ(win32::DialogFilter(""), "");
}

}  // namespace

namespace {

TEST_F(UiTest, AnOuterSizeIsTheWholeWindowFrameIncluded) {
  FormSpec spec;
  spec.caption = "Utility Login";
  spec.outerWidth = 215;
  spec.outerHeight = 126;
  spec.border = BorderStyle::Sizeable;
  auto dialog = toolkit_.CreateForm(spec);
  RECT outer;
  GetWindowRect(ToHwnd(dialog->Handle()), &outer);
  EXPECT_EQ(outer.right - outer.left, 215);
  EXPECT_EQ(outer.bottom - outer.top, 126);
}

}  // namespace
