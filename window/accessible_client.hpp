// The accessible object of the window's client area (Microsoft Active Accessibility).
#pragma once

#include "platform/win32/handles.hpp"
#include "window/dpi_resources.hpp"
#include "window/keyboard_focus.hpp"
#include "window/layout.hpp"
#include "window/text_box.hpp"

#include <windows.h>

#include <oleacc.h>

#include <optional>
#include <string_view>

namespace kelvarin::win32 {

// A command label pressed by a reader: the window runs it as a click, once the reader's call
// has returned.
inline constexpr UINT kPressControl = WM_APP;

// What the accessible object reads and asks of the window, reached where it lives.
struct AccessibleParts {
  const layout::ControlTexts& texts;
  const DpiResources& resources; // for the controls' places at the window's DPI
  KeyboardFocus& focus;
  // Asked for each time: the window exists before its text box, and a reader may ask between.
  const TextBox& textBox;
};

// The functions of the accessibility DLLs that the object itself calls.
struct OleFunctions {
  HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
  BSTR(WINAPI* sysAllocStringLen)(const OLECHAR*, UINT) = nullptr;
};

// The labels are painted on the window's surface, so without this object a screen reader would
// see nothing but the text box: each command label is a push button named by its current word,
// described by its tooltip, whose default action runs its command; the two small labels are
// static text.
class AccessibleClient final : public IAccessible {
public:
  // The object with one reference, which the returned pointer holds; `system` is the system's
  // object for the client area, which answers for the window itself.
  static ComPtr<AccessibleClient> make(const AccessibleParts& parts, HWND window,
                                       const OleFunctions& ole, ComPtr<IAccessible> system);
  AccessibleClient(const AccessibleParts& parts, HWND window, const OleFunctions& ole,
                   ComPtr<IAccessible> system);
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  // From now on every question gets RPC_E_DISCONNECTED, and nothing touches the window, the DLLs
  // or the system's object, which may be gone.
  void disconnect() noexcept { link_.reset(); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: readers use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  // All the object reaches outside itself, for as long as it is connected.
  struct Link {
    AccessibleParts parts;
    HWND window;
    OleFunctions ole;
    ComPtr<IAccessible> system;
  };

  // The call's answer while connected, else RPC_E_DISCONNECTED.
  template <typename Call> HRESULT connected(Call call) const {
    return link_ ? call(*link_) : RPC_E_DISCONNECTED;
  }

  // The text box's own accessible object, which the system makes for its window.
  static HRESULT textBoxObject(const Link& link, IDispatch** out);
  // The child `id` (or the object itself) as accHitTest and accNavigate answer with it.
  static HRESULT childAnswer(const Link& link, long id, VARIANT* out);

  // A property the reader gets as a number: the system's object answers for the window
  // itself, `number(link, control)` for a child.
  template <typename SystemGet, typename Number>
  HRESULT numberOf(VARIANT child, VARIANT* out, SystemGet systemGet, Number number) const;

  ULONG references_ = 1;
  std::optional<Link> link_;
};

} // namespace kelvarin::win32
