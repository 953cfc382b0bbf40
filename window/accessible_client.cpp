// The accessible object's answers, for the window's client area and for each of its children.
#include "window/accessible_client.hpp"

#include "window/geometry.hpp"
#include "window/reader_children.hpp"

#include <memory>

namespace kelvarin::win32 {

namespace {

bool isSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The control a child id names: nothing for the object itself or an id that names no child.
std::optional<std::size_t> controlOfChild(const VARIANT& child) {
  if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > kChildCount) {
    return std::nullopt;
  }
  return kChildren[static_cast<std::size_t>(child.lVal - 1)];
}

bool isTextBox(std::size_t control) {
  return layout::kControls[control].kind == layout::Kind::TextBox;
}

bool isButton(std::optional<std::size_t> control) {
  return control && layout::isCommandLabel(layout::kControls[*control]);
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

} // namespace

ComPtr<AccessibleClient> AccessibleClient::make(const AccessibleParts& parts, HWND window,
                                                const OleFunctions& ole,
                                                ComPtr<IAccessible> system) {
  // Its reference count owns it from here: the last Release deletes it.
  return ComPtr<AccessibleClient>(
      std::make_unique<AccessibleClient>(parts, window, ole, std::move(system)).release());
}

AccessibleClient::AccessibleClient(const AccessibleParts& parts, HWND window,
                                   const OleFunctions& ole, ComPtr<IAccessible> system)
    : link_(Link{parts, window, ole, std::move(system)}) {}

HRESULT AccessibleClient::QueryInterface(REFIID id, void** object) {
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

ULONG AccessibleClient::Release() {
  const ULONG left = --references_;
  if (left == 0) {
    delete this;
  }
  return left;
}

HRESULT AccessibleClient::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) {
    return E_INVALIDARG;
  }
  *count = 0;
  return S_OK;
}

HRESULT AccessibleClient::get_accParent(IDispatch** parent) {
  return connected([&](const Link& link) { return link.system->get_accParent(parent); });
}

HRESULT AccessibleClient::get_accChildCount(long* count) {
  return connected([&](const Link&) -> HRESULT {
    if (count == nullptr) {
      return E_INVALIDARG;
    }
    *count = kChildCount;
    return S_OK;
  });
}

HRESULT AccessibleClient::get_accChild(VARIANT child, IDispatch** out) {
  return connected([&](const Link& link) -> HRESULT {
    if (out == nullptr) {
      return E_INVALIDARG;
    }
    *out = nullptr;
    const auto control = controlOfChild(child);
    if (!control) {
      return E_INVALIDARG;
    }
    return isTextBox(*control) ? textBoxObject(link, out)
                               : S_FALSE; // a simple element: the reader asks this object about it
  });
}

// Until the box is made, it is a simple element of this object.
HRESULT AccessibleClient::textBoxObject(const Link& link, IDispatch** out) {
  const HWND box = link.parts.textBox.handle();
  *out = nullptr;
  return box == nullptr
             ? S_FALSE
             : link.ole.accessibleObjectFromWindow(box, static_cast<DWORD>(OBJID_WINDOW),
                                                   IID_IDispatch, reinterpret_cast<void**>(out));
}

// The text box as its object, as get_accChild gives it: a reader that had its id would ask this
// object about a window it knows nothing of. A simple element by its id.
HRESULT AccessibleClient::childAnswer(const Link& link, long id, VARIANT* out) {
  if (id != CHILDID_SELF && isTextBox(kChildren[static_cast<std::size_t>(id - 1)])) {
    const HRESULT got = textBoxObject(link, &out->pdispVal);
    if (got != S_FALSE) {
      out->vt = SUCCEEDED(got) ? VT_DISPATCH : VT_EMPTY;
      return got;
    }
  }
  out->vt = VT_I4;
  out->lVal = id;
  return S_OK;
}

HRESULT AccessibleClient::get_accName(VARIANT child, BSTR* name) {
  return connected([&](const Link& link) -> HRESULT {
    if (isSelf(child)) {
      return link.system->get_accName(child, name);
    }
    const auto control = controlOfChild(child);
    return control ? text(link.ole, link.parts.texts[*control], name) : E_INVALIDARG;
  });
}

HRESULT AccessibleClient::get_accValue(VARIANT child, BSTR* value) {
  return connected([&](const Link& link) {
    return isSelf(child) ? link.system->get_accValue(child, value) : none(value);
  });
}

HRESULT AccessibleClient::get_accDescription(VARIANT child, BSTR* description) {
  return connected([&](const Link& link) {
    const auto control = controlOfChild(child);
    return control && !layout::kControls[*control].tooltip.empty()
               ? text(link.ole, layout::kControls[*control].tooltip, description)
               : none(description);
  });
}

// A property the reader gets as a number: the system's object answers for the window itself,
// `number(link, control)` for a child.
template <typename SystemGet, typename Number>
HRESULT AccessibleClient::numberOf(VARIANT child, VARIANT* out, SystemGet systemGet,
                                   Number number) const {
  return connected([&](const Link& link) -> HRESULT {
    if (out == nullptr) {
      return E_INVALIDARG;
    }
    if (isSelf(child)) {
      return (link.system.get()->*systemGet)(child, out);
    }
    const auto control = controlOfChild(child);
    if (!control) {
      return E_INVALIDARG;
    }
    out->vt = VT_I4;
    out->lVal = number(link, *control);
    return S_OK;
  });
}

HRESULT AccessibleClient::get_accRole(VARIANT child, VARIANT* role) {
  return numberOf(child, role, &IAccessible::get_accRole, [](const Link&, std::size_t control) {
    return isTextBox(control)  ? ROLE_SYSTEM_TEXT
           : isButton(control) ? ROLE_SYSTEM_PUSHBUTTON
                               : ROLE_SYSTEM_STATICTEXT;
  });
}

HRESULT AccessibleClient::get_accState(VARIANT child, VARIANT* state) {
  return numberOf(child, state, &IAccessible::get_accState,
                  [](const Link& link, std::size_t control) {
                    return !isButton(control) ? STATE_SYSTEM_READONLY
                           : link.parts.focus.focusedLabel() == control
                               ? STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED
                               : STATE_SYSTEM_FOCUSABLE;
                  });
}

HRESULT AccessibleClient::get_accHelp(VARIANT, BSTR* help) {
  return none(help);
}

HRESULT AccessibleClient::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (topic != nullptr) {
    *topic = 0;
  }
  return none(file);
}

HRESULT AccessibleClient::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  return none(shortcut);
}

HRESULT AccessibleClient::get_accFocus(VARIANT* focus) {
  return connected([&](const Link& link) {
    // A label's focus is the window's, which is all the system's object knows of.
    const auto label = link.parts.focus.focusedLabel();
    if (!label || focus == nullptr) {
      return link.system->get_accFocus(focus);
    }
    focus->vt = VT_I4;
    focus->lVal = childIdOfControl(*label);
    return S_OK;
  });
}

HRESULT AccessibleClient::get_accSelection(VARIANT* selection) {
  if (selection != nullptr) {
    selection->vt = VT_EMPTY;
  }
  return S_FALSE;
}

HRESULT AccessibleClient::get_accDefaultAction(VARIANT child, BSTR* action) {
  return connected([&](const Link& link) {
    return isButton(controlOfChild(child)) ? text(link.ole, L"Press", action) : none(action);
  });
}

HRESULT AccessibleClient::accSelect(long flags, VARIANT child) {
  return connected([&](const Link& link) -> HRESULT {
    const auto control = controlOfChild(child);
    if (!isButton(control) || (flags & SELFLAG_TAKEFOCUS) == 0) {
      return DISP_E_MEMBERNOTFOUND;
    }
    // Not while a command's message box is up, which disables the window: the box keeps it.
    if (::IsWindowEnabled(link.window) != 0) {
      link.parts.focus.moveTo(*control);
    }
    return S_OK;
  });
}

HRESULT AccessibleClient::accLocation(long* left, long* top, long* width, long* height,
                                      VARIANT child) {
  return connected([&](const Link& link) -> HRESULT {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
      return E_INVALIDARG;
    }
    if (isSelf(child)) {
      return link.system->accLocation(left, top, width, height, child);
    }
    const auto control = controlOfChild(child);
    if (!control) {
      return E_INVALIDARG;
    }
    RECT r = rectAt(layout::kControls[*control], link.parts.resources.dpi());
    ::MapWindowPoints(link.window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  });
}

HRESULT AccessibleClient::accNavigate(long direction, VARIANT start, VARIANT* end) {
  return connected([&](const Link& link) -> HRESULT {
    if (end == nullptr) {
      return E_INVALIDARG;
    }
    if (!isSelf(start) && !controlOfChild(start)) {
      return E_INVALIDARG;
    }
    long to = 0;
    const long from = isSelf(start) ? 0 : start.lVal;
    if (from == 0 && direction == NAVDIR_FIRSTCHILD) {
      to = 1;
    } else if (from == 0 && direction == NAVDIR_LASTCHILD) {
      to = kChildCount;
    } else if (from > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) {
      to = from < kChildCount ? from + 1 : 0;
    } else if (from > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) {
      to = from - 1;
    } else if (from == 0) {
      return link.system->accNavigate(direction, start, end);
    }
    if (to == 0) {
      end->vt = VT_EMPTY;
      return S_FALSE;
    }
    return childAnswer(link, to, end);
  });
}

HRESULT AccessibleClient::accHitTest(long x, long y, VARIANT* hit) {
  return connected([&](const Link& link) -> HRESULT {
    if (hit == nullptr) {
      return E_INVALIDARG;
    }
    POINT point{x, y};
    ::ScreenToClient(link.window, &point);
    RECT client{};
    ::GetClientRect(link.window, &client);
    if (::PtInRect(&client, point) == 0) {
      return link.system->accHitTest(x, y, hit);
    }
    const auto control = layout::hitTest(point.x, point.y, link.parts.resources.dpi());
    return childAnswer(link, control ? childIdOfControl(*control) : CHILDID_SELF, hit);
  });
}

HRESULT AccessibleClient::accDoDefaultAction(VARIANT child) {
  return connected([&](const Link& link) -> HRESULT {
    const auto control = controlOfChild(child);
    if (!isButton(control)) {
      return DISP_E_MEMBERNOTFOUND;
    }
    ::PostMessageW(link.window, kPressControl, *control, 0);
    return S_OK;
  });
}

} // namespace kelvarin::win32
