// The screen reader's DLLs, apartment and object, loaded on its first request.
#include "window/accessible.hpp"

#include "platform/win32/system_function.hpp"

namespace kelvarin::win32 {

Accessibility::Accessibility(const AccessibleParts& parts, HWND window) noexcept
    : ole32_(loadSystemModule(L"ole32.dll")), oleacc_(loadSystemModule(L"oleacc.dll")),
      oleaut_(loadSystemModule(L"oleaut32.dll")) {
  const auto join = moduleFunction<Apartment::Join>(ole32_.get(), "CoInitializeEx");
  const auto leave = moduleFunction<Apartment::Leave>(ole32_.get(), "CoUninitialize");
  disconnectObject_ =
      moduleFunction<decltype(disconnectObject_)>(ole32_.get(), "CoDisconnectObject");
  const auto create = moduleFunction<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)>(
      oleacc_.get(), "CreateStdAccessibleObject");
  lresultFromObject_ =
      moduleFunction<decltype(lresultFromObject_)>(oleacc_.get(), "LresultFromObject");
  OleFunctions ole;
  ole.accessibleObjectFromWindow = moduleFunction<decltype(ole.accessibleObjectFromWindow)>(
      oleacc_.get(), "AccessibleObjectFromWindow");
  ole.sysAllocStringLen =
      moduleFunction<decltype(ole.sysAllocStringLen)>(oleaut_.get(), "SysAllocStringLen");
  if (join != nullptr && leave != nullptr && disconnectObject_ != nullptr && create != nullptr &&
      lresultFromObject_ != nullptr && ole.accessibleObjectFromWindow != nullptr &&
      ole.sysAllocStringLen != nullptr) {
    apartment_.emplace(join, leave);
    ComPtr<IAccessible> system;
    if (*apartment_ && SUCCEEDED(create(window, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(system.put())))) {
      client_ = AccessibleClient::make(parts, window, ole, std::move(system));
    }
  }
  if (!client_) {
    // Without the object nothing here is of use: the apartment is left and the DLLs go now.
    apartment_.reset();
    oleaut_.reset();
    oleacc_.reset();
    ole32_.reset();
  }
}

// The object's own word first, so that nothing it reaches is touched again; then the proxies,
// whose references the system lets go. Where that fails, nothing more can be done.
Accessibility::~Accessibility() {
  if (client_) {
    client_->disconnect();
    static_cast<void>(disconnectObject_(client_.get(), 0));
  }
}

std::optional<LRESULT> Accessibility::answer(WPARAM wParam) noexcept {
  if (!client_) {
    return std::nullopt;
  }
  return lresultFromObject_(IID_IAccessible, wParam, client_.get());
}

} // namespace kelvarin::win32
