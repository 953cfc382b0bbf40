// What a screen reader sees of the window, asked from another process through Active
// Accessibility: the painted labels as buttons and static text, and a button's default
// action running its command.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"
#include "tests/wine/scene_check.hpp"
#include "tools/driver/keyboard_cues.hpp"
#include "tools/driver/text.hpp"
#include "tools/driver/wait.hpp"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace kelvarin::e2e {
namespace {

// Child ids in the window's stacking order: the text box, then the five labels.
enum Child : long { kTxtMode = 1, kLabel2, kLblRun, kLabel1, kLblSwitch, kLblExit };

VARIANT child(long id) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring take(BSTR text) {
  std::wstring out = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : L"";
  ::SysFreeString(text);
  return out;
}

// The events of one kind the program raises for its client area, heard as a screen reader hears
// them: out of context, through this thread's messages.
class WinEvents {
public:
  WinEvents(DWORD process, DWORD event)
      : hook_(::SetWinEventHook(event, event, nullptr, &note, process, 0, WINEVENT_OUTOFCONTEXT)) {
    heard().clear();
  }

  // Whether the event for that child of that window comes; those before it are passed.
  bool comeFor(HWND window, long id) {
    return hook_ && waitUntil(
                        [&] {
                          MSG message;
                          while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != 0) {
                            ::DispatchMessageW(&message);
                          }
                          auto& events = heard();
                          const auto found =
                              std::find(events.begin(), events.end(), std::make_pair(window, id));
                          const bool come = found != events.end();
                          events.erase(events.begin(), come ? found + 1 : found);
                          return come;
                        },
                        std::chrono::seconds(5));
  }

private:
  static std::vector<std::pair<HWND, long>>& heard() {
    static std::vector<std::pair<HWND, long>> events;
    return events;
  }
  static void CALLBACK note(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG id, DWORD, DWORD) {
    if (object == OBJID_CLIENT) {
      heard().emplace_back(window, id);
    }
  }

  win32::Unique<win32::NullTraits<HWINEVENTHOOK, &::UnhookWinEvent>> hook_;
};

class Accessibility : public InGameFolder {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT),
                                                       IID_IAccessible,
                                                       reinterpret_cast<void**>(client_.put()))));
  }
  void TearDown() override {
    client_.reset();
    app_.reset();
    ::CoUninitialize();
  }

  std::wstring name(long id) {
    BSTR text = nullptr;
    EXPECT_EQ(client_->get_accName(child(id), &text), S_OK);
    return take(text);
  }
  long role(long id) {
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(client_->get_accRole(child(id), &v), S_OK);
    return v.lVal;
  }
  long state(long id) {
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(client_->get_accState(child(id), &v), S_OK);
    return v.lVal;
  }
  // The child with the focus; 0 where it is the window's own or another window's.
  long focus() {
    VARIANT v;
    ::VariantInit(&v);
    EXPECT_EQ(client_->get_accFocus(&v), S_OK);
    const long id = v.vt == VT_I4 ? v.lVal : 0;
    ::VariantClear(&v);
    return id;
  }

  win32::ComPtr<IAccessible> client_;
};

TEST_F(Accessibility, LabelsAreButtonsAndStaticTextNamedByTheirWords) {
  long count = 0;
  ASSERT_EQ(client_->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(name(kLblSwitch), expected::kSwitchOn);
  EXPECT_EQ(name(kLblRun), expected::kRun);
  EXPECT_EQ(name(kLblExit), expected::kExit);
  EXPECT_EQ(name(kLabel1), expected::kCredit);
  EXPECT_EQ(name(kLabel2), expected::kVersionLabel);
  for (const long id : {kLblSwitch, kLblRun, kLblExit}) {
    EXPECT_EQ(role(id), ROLE_SYSTEM_PUSHBUTTON) << id;
  }
  EXPECT_EQ(role(kLabel1), ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(role(kTxtMode), ROLE_SYSTEM_TEXT);

  BSTR text = nullptr;
  EXPECT_EQ(client_->get_accDescription(child(kLblRun), &text), S_OK);
  EXPECT_EQ(take(text), expected::kRunTip);
  text = nullptr;
  EXPECT_EQ(client_->get_accDefaultAction(child(kLabel1), &text), S_FALSE);
  take(text);
}

// The window a child given as an object belongs to; null for a child given by its id.
HWND windowOf(VARIANT& answer) {
  HWND window = nullptr;
  if (answer.vt == VT_DISPATCH) {
    win32::ComPtr<IAccessible> object;
    if (SUCCEEDED(answer.pdispVal->QueryInterface(IID_IAccessible,
                                                  reinterpret_cast<void**>(object.put())))) {
      ::WindowFromAccessibleObject(object.get(), &window);
    }
  }
  ::VariantClear(&answer);
  return window;
}

// A child is the same whichever way the reader comes to it: the text box is its window's own
// object from get_accChild, hit testing and navigation alike.
TEST_F(Accessibility, HitTestAndNavigationAgreeWithTheLayoutAndTheChildren) {
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(client_->accLocation(&left, &top, &width, &height, child(kLblExit)), S_OK);
  EXPECT_EQ(width, 65);
  EXPECT_EQ(height, 25);
  VARIANT hit;
  ::VariantInit(&hit);
  ASSERT_EQ(client_->accHitTest(left + 3, top + 3, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, kLblExit);

  const HWND box = ::FindWindowExW(app_->waitForWindow(), nullptr, L"Edit", nullptr);
  win32::ComPtr<IDispatch> boxChild;
  ASSERT_EQ(client_->get_accChild(child(kTxtMode), boxChild.put()), S_OK);
  VARIANT asChild;
  ::VariantInit(&asChild);
  asChild.vt = VT_DISPATCH;
  asChild.pdispVal = boxChild.release();
  EXPECT_EQ(windowOf(asChild), box);
  ASSERT_EQ(client_->accLocation(&left, &top, &width, &height, child(kTxtMode)), S_OK);
  ASSERT_EQ(client_->accHitTest(left + 3, top + 3, &hit), S_OK);
  EXPECT_EQ(windowOf(hit), box);
  VARIANT to;
  ::VariantInit(&to);
  ASSERT_EQ(client_->accNavigate(NAVDIR_FIRSTCHILD, child(CHILDID_SELF), &to), S_OK);
  EXPECT_EQ(windowOf(to), box);
  ASSERT_EQ(client_->accNavigate(NAVDIR_PREVIOUS, child(kLabel2), &to), S_OK);
  EXPECT_EQ(windowOf(to), box);
  ASSERT_EQ(client_->accNavigate(NAVDIR_NEXT, child(kTxtMode), &to), S_OK);
  EXPECT_EQ(to.vt, VT_I4);
  EXPECT_EQ(to.lVal, kLabel2);
  EXPECT_EQ(client_->accNavigate(NAVDIR_NEXT, child(kLblExit + 1), &to), E_INVALIDARG);
}

// The reader hears the new name, as it would not otherwise look again.
TEST_F(Accessibility, DefaultActionRunsTheCommandAndTheNameFollows) {
  WinEvents events(app_->processId(), EVENT_OBJECT_NAMECHANGE);
  ASSERT_EQ(client_->accDoDefaultAction(child(kLblSwitch)), S_OK);
  ASSERT_TRUE(app_->waitForModeText(expected::kModeOn)) << utf8(app_->modeText());
  EXPECT_TRUE(events.comeFor(app_->waitForWindow(), kLblSwitch));
  app_->settle();
  EXPECT_EQ(folder_.read(expected::kMarker), expected::kMarkerBytes);
  EXPECT_EQ(name(kLblSwitch), expected::kSwitchOff);
}

// The keyboard cues as Windows has them out of the box: hidden until the keyboard is used.
class FocusWithCuesHidden : public Accessibility {
  const KeyboardCues cues_{false};
};

// Readers follow the focus: the command labels can take it, the one that has it says so and is
// the window's focus, and every move is announced, whether the reader, a key or the window's
// activation made it. A reader's move shows no cue; a click leaves the focus where it was.
TEST_F(FocusWithCuesHidden, IsReportedAndAnnounced) {
  const HWND window = app_->waitForWindow();
  const HWND box = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
  EXPECT_EQ(app_->inputState().hwndFocus, box);
  EXPECT_EQ(app_->inputState().hwndCaret, box);
  EXPECT_EQ(state(kLblExit), STATE_SYSTEM_FOCUSABLE);
  const pictures::Canvas opening = restingPicture(*app_);

  WinEvents events(app_->processId(), EVENT_OBJECT_FOCUS);
  ASSERT_EQ(client_->accSelect(SELFLAG_TAKEFOCUS, child(kLblExit)), S_OK);
  ASSERT_TRUE(events.comeFor(window, kLblExit));
  EXPECT_EQ(focus(), kLblExit);
  EXPECT_EQ(state(kLblExit), STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
  EXPECT_EQ(state(kLblRun), STATE_SYSTEM_FOCUSABLE);
  std::this_thread::sleep_for(std::chrono::milliseconds(300)); // time for a wrong cue to show
  EXPECT_TRUE(waitUntil([&] { return changedArea(app_->clientPixels(), opening).width == 0; },
                        std::chrono::seconds(1)))
      << "a cue before any Tab";

  // Four Tabs come round again; Shift+Tab goes back.
  app_->pressKey(VK_TAB);
  EXPECT_TRUE(events.comeFor(window, kLblSwitch));
  app_->pressKey(VK_TAB);
  EXPECT_TRUE(events.comeFor(box, CHILDID_SELF));
  app_->pressKey(VK_TAB);
  EXPECT_TRUE(events.comeFor(window, kLblRun));
  app_->pressKey(VK_TAB);
  EXPECT_TRUE(events.comeFor(window, kLblExit));
  app_->pressKey(VK_TAB, VK_SHIFT);
  ASSERT_TRUE(events.comeFor(window, kLblRun));

  app_->click("lblSwitch");
  ASSERT_TRUE(app_->waitForModeText(expected::kModeOn));
  EXPECT_EQ(focus(), kLblRun);

  // Away to a window of this process, and back.
  const win32::UniqueWindow other(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0,
                                                    10, 10, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(other && ::SetForegroundWindow(other.get()) != 0);
  ASSERT_TRUE(
      waitUntil([&] { return app_->inputState().hwndFocus == nullptr; }, std::chrono::seconds(5)));
  ASSERT_NE(::SetForegroundWindow(window), 0);
  EXPECT_TRUE(events.comeFor(window, kLblRun));
  EXPECT_EQ(focus(), kLblRun);
}

class FocusWithCuesAlways : public Accessibility {
  const KeyboardCues cues_{true};
};

// Where the system always shows keyboard cues, the focus cue needs no key first.
TEST_F(FocusWithCuesAlways, IsCuedFromTheStart) {
  const pictures::Canvas opening = restingPicture(*app_);
  ASSERT_EQ(client_->accSelect(SELFLAG_TAKEFOCUS, child(kLblExit)), S_OK);
  EXPECT_TRUE(waitUntil([&] { return changedArea(app_->clientPixels(), opening).width > 0; },
                        std::chrono::seconds(3)));
}

// Commands never run inside one another: a reader's press while a failed switch tells why
// starts no second switch, neither inside the message box nor after it, and a reader's focus
// request leaves the focus in the box.
TEST_F(Accessibility, APressWhileASwitchTellsWhyItFailedRunsNothing) {
  folder_.makeFolder(expected::kMarker);
  app_->click("lblSwitch");
  const auto box = app_->waitForMessageBox();
  ASSERT_TRUE(box) << "the switch did not fail";
  client_->accSelect(SELFLAG_TAKEFOCUS, child(kLblExit));
  EXPECT_TRUE(::IsChild(box->window, app_->inputState().hwndFocus)) << "the focus left the box";
  ASSERT_EQ(client_->accDoDefaultAction(child(kLblSwitch)), S_OK);
  // The press is posted; the box's own message loop has handled it after this.
  app_->settle();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  app_->settle();
  app_->pressOk(*box);
  EXPECT_FALSE(waitUntil([&] { return app_->hasMessageBox(); }, std::chrono::seconds(1)))
      << "a second switch ran";
  EXPECT_EQ(app_->inputState().hwndFocus, ::FindWindowExW(window_, nullptr, L"Edit", nullptr))
      << "the focus request was kept for after the box";
  EXPECT_EQ(app_->modeText(), expected::kModeOff);
  EXPECT_EQ(name(kLblSwitch), expected::kSwitchOn);
  EXPECT_FALSE(folder_.read(expected::kMarker)) << "the folder is still there, and no file";
  EXPECT_TRUE(folder_.exists(expected::kMarker));
}

} // namespace
} // namespace kelvarin::e2e
