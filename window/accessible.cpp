#include "window/accessible.hpp"

#include "platform/win32/handles.hpp"
#include "platform/win32/system_function.hpp"
#include "window/layout.hpp"

#include <array>

namespace kelvarin::win32 {

namespace {

// The accessibility DLLs, loaded from the system directory the first time a screen reader
// asks: most runs never need them, and loading them at start-up tripled the start-up time.
class OleAccess {
public:
  bool load() noexcept {
    if (createStdAccessibleObject != nullptr) {
      return true;
    }
    oleacc_ = loadSystemModule(L"oleacc.dll");
    oleaut_ = loadSystemModule(L"oleaut32.dll");
    if (!oleacc_ || !oleaut_) {
      return false;
    }
    accessibleObjectFromWindow = moduleFunction<decltype(accessibleObjectFromWindow)>(
        oleacc_.get(), "AccessibleObjectFromWindow");
    lresultFromObject =
        moduleFunction<decltype(lresultFromObject)>(oleacc_.get(), "LresultFromObject");
    sysAllocStringLen =
        moduleFunction<decltype(sysAllocStringLen)>(oleaut_.get(), "SysAllocStringLen");
    const auto create = moduleFunction<decltype(createStdAccessibleObject)>(
        oleacc_.get(), "CreateStdAccessibleObject");
    if (accessibleObjectFromWindow != nullptr && lresultFromObject != nullptr &&
        sysAllocStringLen != nullptr) {
      createStdAccessibleObject = create;
    }
    return createStdAccessibleObject != nullptr;
  }

  HRESULT(WINAPI* createStdAccessibleObject)(HWND, LONG, REFIID, void**) = nullptr;
  HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  BSTR(WINAPI* sysAllocStringLen)(const OLECHAR*, UINT) = nullptr;

private:
  UniqueModule oleacc_;
  UniqueModule oleaut_;
};

OleAccess ole;

// The children are the controls a reader can tell apart, in stacking order; the plates are
// only pictures under the labels. Child id k is kChildren[k - 1].
constexpr std::array<std::size_t, 6> kChildren = [] {
  std::array<std::size_t, 6> children{};
  std::size_t n = 0;
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) {
    if (layout::kControls[i].kind != layout::Kind::Picture) {
      children[n++] = i;
    }
  }
  return children;
}();

constexpr long kChildCount = static_cast<long>(kChildren.size());

const layout::Control* controlOf(long child) {
  return child >= 1 && child <= kChildCount
             ? &layout::kControls[kChildren[static_cast<std::size_t>(child - 1)]]
             : nullptr;
}

bool isButton(const layout::Control& control) {
  return control.click != layout::Command::None;
}

HRESULT text(std::wstring_view value, BSTR* out) {
  if (out == nullptr) {
    return E_INVALIDARG;
  }
  *out = ole.sysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT none(BSTR* out) {
  if (out != nullptr) {
    *out = nullptr;
  }
  return S_FALSE;
}

class AccessibleClient final : public IAccessible {
public:
  AccessibleClient(AccessibleHost& host, IAccessible* standard) : host_(&host), std_(standard) {}
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  void disconnect() noexcept {
    host_ = nullptr;
    if (std_ != nullptr) {
      std_->Release();
      std_ = nullptr;
    }
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) {
      return E_POINTER;
    }
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) ||
        IsEqualIID(id, IID_IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      disconnect();
      delete this;
    }
    return left;
  }

  // IDispatch: readers use the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) {
      return E_INVALIDARG;
    }
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return host_ == nullptr ? RPC_E_DISCONNECTED : std_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) {
      return E_INVALIDARG;
    }
    *count = kChildCount;
    return host_ == nullptr ? RPC_E_DISCONNECTED : S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (out == nullptr) {
      return E_INVALIDARG;
    }
    *out = nullptr;
    const layout::Control* control = childOf(child);
    if (host_ == nullptr || control == nullptr) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : E_INVALIDARG;
    }
    // The text box is a window of its own, with the system's own accessible object.
    if (control->kind == layout::Kind::TextBox) {
      return ole.accessibleObjectFromWindow(host_->textBox(), static_cast<DWORD>(OBJID_WINDOW),
                                            IID_IDispatch, reinterpret_cast<void**>(out));
    }
    return S_FALSE; // a simple element: the reader asks this object about it
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (isSelf(child)) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : std_->get_accName(child, name);
    }
    const layout::Control* control = childOf(child);
    return control == nullptr ? E_INVALIDARG : text(host_->textOf(indexOf(child)), name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return isSelf(child) && host_ != nullptr ? std_->get_accValue(child, value) : none(value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    const layout::Control* control = childOf(child);
    return control != nullptr && !control->tooltip.empty() ? text(control->tooltip, description)
                                                           : none(description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (role == nullptr) {
      return E_INVALIDARG;
    }
    if (isSelf(child)) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : std_->get_accRole(child, role);
    }
    const layout::Control* control = childOf(child);
    if (control == nullptr) {
      return E_INVALIDARG;
    }
    role->vt = VT_I4;
    role->lVal = control->kind == layout::Kind::TextBox ? ROLE_SYSTEM_TEXT
                 : isButton(*control)                   ? ROLE_SYSTEM_PUSHBUTTON
                                                        : ROLE_SYSTEM_STATICTEXT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (state == nullptr) {
      return E_INVALIDARG;
    }
    if (isSelf(child)) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : std_->get_accState(child, state);
    }
    const layout::Control* control = childOf(child);
    if (control == nullptr) {
      return E_INVALIDARG;
    }
    state->vt = VT_I4;
    state->lVal = isButton(*control) ? 0 : STATE_SYSTEM_READONLY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return none(help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (topic != nullptr) {
      *topic = 0;
    }
    return none(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    return none(shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return host_ == nullptr ? RPC_E_DISCONNECTED : std_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection != nullptr) {
      selection->vt = VT_EMPTY;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    const layout::Control* control = childOf(child);
    return control != nullptr && isButton(*control) ? text(L"Press", action) : none(action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
      return E_INVALIDARG;
    }
    if (isSelf(child)) {
      return host_ == nullptr ? RPC_E_DISCONNECTED
                              : std_->accLocation(left, top, width, height, child);
    }
    if (childOf(child) == nullptr) {
      return E_INVALIDARG;
    }
    RECT r = host_->rectOf(indexOf(child));
    ::MapWindowPoints(host_->window(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) {
      return E_INVALIDARG;
    }
    if (host_ == nullptr) {
      return RPC_E_DISCONNECTED;
    }
    long to = 0;
    const long from = isSelf(start) ? 0 : (childOf(start) != nullptr ? start.lVal : -1);
    if (from == 0 && direction == NAVDIR_FIRSTCHILD) {
      to = 1;
    } else if (from == 0 && direction == NAVDIR_LASTCHILD) {
      to = kChildCount;
    } else if (from > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) {
      to = from < kChildCount ? from + 1 : 0;
    } else if (from > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) {
      to = from - 1;
    } else if (from == 0) {
      return std_->accNavigate(direction, start, end);
    }
    end->vt = to > 0 ? VT_I4 : VT_EMPTY;
    end->lVal = to;
    return to > 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (hit == nullptr) {
      return E_INVALIDARG;
    }
    if (host_ == nullptr) {
      return RPC_E_DISCONNECTED;
    }
    POINT point{x, y};
    ::ScreenToClient(host_->window(), &point);
    RECT client{};
    ::GetClientRect(host_->window(), &client);
    if (::PtInRect(&client, point) == 0) {
      return std_->accHitTest(x, y, hit);
    }
    hit->vt = VT_I4;
    hit->lVal = CHILDID_SELF;
    if (const auto control = host_->controlAt(point)) {
      for (long k = 1; k <= kChildCount; ++k) {
        if (kChildren[static_cast<std::size_t>(k - 1)] == *control) {
          hit->lVal = k;
        }
      }
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const layout::Control* control = childOf(child);
    if (host_ == nullptr || control == nullptr || !isButton(*control)) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : DISP_E_MEMBERNOTFOUND;
    }
    host_->press(indexOf(child));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
  static bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
  }
  const layout::Control* childOf(const VARIANT& child) const {
    return host_ != nullptr && child.vt == VT_I4 ? controlOf(child.lVal) : nullptr;
  }
  static std::size_t indexOf(const VARIANT& child) {
    return kChildren[static_cast<std::size_t>(child.lVal - 1)];
  }

  ULONG references_ = 1;
  AccessibleHost* host_;
  IAccessible* std_;
};

} // namespace

IAccessible* createAccessibleClient(AccessibleHost& host) {
  IAccessible* standard = nullptr;
  if (!ole.load() ||
      FAILED(ole.createStdAccessibleObject(host.window(), OBJID_CLIENT, IID_IAccessible,
                                           reinterpret_cast<void**>(&standard)))) {
    return nullptr;
  }
  return new AccessibleClient(host, standard);
}

LRESULT accessibleResult(IAccessible* client, WPARAM wParam) noexcept {
  return ole.lresultFromObject(IID_IAccessible, wParam, client);
}

void disconnectAccessibleClient(IAccessible* client) noexcept {
  if (client != nullptr) {
    static_cast<AccessibleClient*>(client)->disconnect();
    client->Release();
  }
}

} // namespace kelvarin::win32
