// The window's icons, from the program's own icon record, and its class.
#include "window/window_class.hpp"

#include "assets/picture_records.hpp"
#include "pictures/pictures.hpp"
#include "platform/win32/system_error.hpp"
#include "window/built_in_pictures.hpp"

namespace kelvarin::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KelvarinMain";

Status createIcon(const pictures::IconImage& image, int size, UniqueIcon& made) {
  made.reset(iconFromResource(image.image, true, size, size));
  return check(static_cast<bool>(made));
}

} // namespace

Status MainWindowClass::make(HINSTANCE instance, WNDPROC procedure) {
  const auto iconFile = assets::recordFile(assets::frmMainIcon);
  const auto icon = iconFile ? pictures::iconImage(*iconFile) : std::nullopt;
  if (!icon) {
    return damagedPictures();
  }
  const Status made =
      inOrder([&] { return createIcon(*icon, ::GetSystemMetrics(SM_CXICON), bigIcon_); },
              [&] { return createIcon(*icon, ::GetSystemMetrics(SM_CXSMICON), smallIcon_); });
  if (!made.ok()) {
    return made;
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = bigIcon_.get();
  windowClass.hIconSm = smallIcon_.get();
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  class_ = WindowClass(windowClass);
  return check(static_cast<bool>(class_));
}

} // namespace kelvarin::win32
