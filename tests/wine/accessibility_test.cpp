// What a screen reader sees of the window, asked from another process through Active
// Accessibility: the painted labels as buttons and static text, and a button's default
// action running its command.
#include "tests/wine/expected.hpp"
#include "tests/wine/fixture.hpp"

#include <gtest/gtest.h>

#include <oleacc.h>

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

TEST_F(Accessibility, HitTestAndLocationAgreeWithTheLayout) {
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(client_->accLocation(&left, &top, &width, &height, child(kLblExit)), S_OK);
  EXPECT_EQ(width, 65);
  EXPECT_EQ(height, 25);
  VARIANT hit;
  ::VariantInit(&hit);
  ASSERT_EQ(client_->accHitTest(left + 3, top + 3, &hit), S_OK);
  EXPECT_EQ(hit.vt, VT_I4);
  EXPECT_EQ(hit.lVal, kLblExit);
}

TEST_F(Accessibility, DefaultActionRunsTheCommandAndTheNameFollows) {
  ASSERT_EQ(client_->accDoDefaultAction(child(kLblSwitch)), S_OK);
  ASSERT_TRUE(app_->waitForModeText(expected::kModeOn)) << utf8(app_->modeText());
  app_->settle();
  EXPECT_EQ(folder_.read(expected::kMarker), expected::kMarkerBytes);
  EXPECT_EQ(name(kLblSwitch), expected::kSwitchOff);
}

// Commands never run inside one another: a reader's press while a failed switch tells why
// starts no second switch, neither inside the message box nor after it.
TEST_F(Accessibility, APressWhileASwitchTellsWhyItFailedRunsNothing) {
  folder_.makeFolder(expected::kMarker);
  app_->click("lblSwitch");
  const auto box = app_->waitForMessageBox();
  ASSERT_TRUE(box) << "the switch did not fail";
  ASSERT_EQ(client_->accDoDefaultAction(child(kLblSwitch)), S_OK);
  // The press is posted; the box's own message loop has handled it after this.
  app_->settle();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  app_->settle();
  app_->pressOk(*box);
  EXPECT_FALSE(waitUntil([&] { return app_->hasMessageBox(); }, std::chrono::seconds(1)))
      << "a second switch ran";
  EXPECT_EQ(app_->modeText(), expected::kModeOff);
  EXPECT_EQ(name(kLblSwitch), expected::kSwitchOn);
  EXPECT_FALSE(folder_.read(expected::kMarker)) << "the folder is still there, and no file";
  EXPECT_TRUE(folder_.exists(expected::kMarker));
}

} // namespace
} // namespace kelvarin::e2e
