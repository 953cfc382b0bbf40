// The accessible object for the painted labels, and the run-time parts a screen reader needs,
// loaded on its first request.
#include "window/accessible.hpp"

#include "platform/win32/handles.hpp"
#include "platform/win32/system_function.hpp"
#include "window/layout.hpp"

#include <array>

namespace kelvarin::win32 {

namespace {

// The functions of the accessibility DLLs that the object itself calls.
struct OleFunctions {
  HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
  BSTR(WINAPI* sysAllocStringLen)(const OLECHAR*, UINT) = nullptr;
};

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

// The child id of a control; the object itself for a plate.
long childIdOf(std::size_t control) {
  for (long k = 1; k <= kChildCount; ++k) {
    if (kChildren[static_cast<std::size_t>(k - 1)] == control) {
      return k;
    }
  }
  return CHILDID_SELF;
}

bool isButton(const layout::Control& control) {
  return control.click != layout::Command::None;
}

HRESULT text(const OleFunctions& ole, std::wstring_view value, BSTR* out) {
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
  // Takes over the reference to the system's object for the client area.
  AccessibleClient(AccessibleHost& host, const OleFunctions& ole, ComPtr<IAccessible> standard)
      : host_(&host), ole_(ole), std_(std::move(standard)) {}
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  // Once disconnected, no method touches the host or the DLLs, which may be gone.
  void disconnect() noexcept {
    host_ = nullptr;
    std_.reset();
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
      return ole_.accessibleObjectFromWindow(host_->textBox(), static_cast<DWORD>(OBJID_WINDOW),
                                             IID_IDispatch, reinterpret_cast<void**>(out));
    }
    return S_FALSE; // a simple element: the reader asks this object about it
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (isSelf(child)) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : std_->get_accName(child, name);
    }
    const layout::Control* control = childOf(child);
    return control == nullptr ? E_INVALIDARG : text(ole_, host_->textOf(indexOf(child)), name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return isSelf(child) && host_ != nullptr ? std_->get_accValue(child, value) : none(value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    const layout::Control* control = childOf(child);
    return control != nullptr && !control->tooltip.empty()
               ? text(ole_, control->tooltip, description)
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
    state->lVal = !isButton(*control) ? STATE_SYSTEM_READONLY
                  : host_->focusedLabel() == indexOf(child)
                      ? STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED
                      : STATE_SYSTEM_FOCUSABLE;
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
    if (host_ == nullptr) {
      return RPC_E_DISCONNECTED;
    }
    // A label's focus is the window's, which is all the system's object knows of.
    const auto label = host_->focusedLabel();
    if (!label || focus == nullptr) {
      return std_->get_accFocus(focus);
    }
    focus->vt = VT_I4;
    focus->lVal = childIdOf(*label);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection != nullptr) {
      selection->vt = VT_EMPTY;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    const layout::Control* control = childOf(child);
    return control != nullptr && isButton(*control) ? text(ole_, L"Press", action) : none(action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    const layout::Control* control = childOf(child);
    if (host_ == nullptr || control == nullptr || !isButton(*control) ||
        (flags & SELFLAG_TAKEFOCUS) == 0) {
      return host_ == nullptr ? RPC_E_DISCONNECTED : DISP_E_MEMBERNOTFOUND;
    }
    host_->takeFocus(indexOf(child));
    return S_OK;
  }
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
    const auto control = host_->controlAt(point);
    hit->vt = VT_I4;
    hit->lVal = control ? childIdOf(*control) : CHILDID_SELF;
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
  const OleFunctions& ole_;
  ComPtr<IAccessible> std_;
};

} // namespace

// The DLLs first, then the apartment, then the object; they go in reverse.
class Accessibility::Runtime {
public:
  Runtime() noexcept = default;
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;
  ~Runtime() {
    if (client_) {
      static_cast<AccessibleClient*>(client_.get())->disconnect();
    }
    client_.reset(); // before the apartment it was marshalled in
    if (joined_) {
      leave_();
    }
  }

  // False where a DLL or a function is missing, or the system's object cannot be had.
  bool start(AccessibleHost& host) noexcept {
    ole32_ = loadSystemModule(L"ole32.dll");
    oleacc_ = loadSystemModule(L"oleacc.dll");
    oleaut_ = loadSystemModule(L"oleaut32.dll");
    const auto join =
        moduleFunction<HRESULT(WINAPI*)(void*, DWORD)>(ole32_.get(), "CoInitializeEx");
    leave_ = moduleFunction<void(WINAPI*)()>(ole32_.get(), "CoUninitialize");
    const auto create = moduleFunction<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)>(
        oleacc_.get(), "CreateStdAccessibleObject");
    lresultFromObject_ =
        moduleFunction<decltype(lresultFromObject_)>(oleacc_.get(), "LresultFromObject");
    functions_.accessibleObjectFromWindow =
        moduleFunction<decltype(functions_.accessibleObjectFromWindow)>(
            oleacc_.get(), "AccessibleObjectFromWindow");
    functions_.sysAllocStringLen =
        moduleFunction<decltype(functions_.sysAllocStringLen)>(oleaut_.get(), "SysAllocStringLen");
    if (join == nullptr || leave_ == nullptr || create == nullptr ||
        lresultFromObject_ == nullptr || functions_.accessibleObjectFromWindow == nullptr ||
        functions_.sysAllocStringLen == nullptr) {
      return false;
    }
    // Where the thread is in another apartment already, that one serves; only our own join
    // is left again.
    joined_ = SUCCEEDED(join(nullptr, COINIT_APARTMENTTHREADED));
    ComPtr<IAccessible> standard;
    if (FAILED(create(host.window(), OBJID_CLIENT, IID_IAccessible,
                      reinterpret_cast<void**>(standard.put())))) {
      return false;
    }
    client_.reset(new AccessibleClient(host, functions_, std::move(standard)));
    return true;
  }

  LRESULT answer(WPARAM wParam) noexcept {
    return lresultFromObject_(IID_IAccessible, wParam, client_.get());
  }

private:
  UniqueModule ole32_;
  UniqueModule oleacc_;
  UniqueModule oleaut_;
  void(WINAPI* leave_)() = nullptr;
  LRESULT(WINAPI* lresultFromObject_)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  OleFunctions functions_;
  bool joined_ = false;
  ComPtr<IAccessible> client_;
};

void announceFocus(HWND window, std::size_t label) noexcept {
  ::NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, childIdOf(label));
}

Accessibility::Accessibility(AccessibleHost& host) noexcept : host_(host) {}

Accessibility::~Accessibility() = default;

std::optional<LRESULT> Accessibility::answer(WPARAM wParam, LPARAM lParam) noexcept {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT) {
    return std::nullopt;
  }
  if (!tried_) {
    tried_ = true;
    runtime_.reset(new Runtime);
    if (!runtime_->start(host_)) {
      runtime_.reset(); // without its DLLs the window still has the system's own object
    }
  }
  if (!runtime_) {
    return std::nullopt;
  }
  return runtime_->answer(wParam);
}

} // namespace kelvarin::win32
