// The form's code: the start-up check, then the switch (display first, file second), run and
// exit, each telling the user what failed.
#include "mode/frm_main.hpp"

#include "mode/texts.hpp"
#include "platform/text.hpp"

namespace kelvarin {

Status FrmMain::Butt(bool exist) {
  tag_ = boolToText(exist);
  if (Status shown = host_.setSwitchCaption(exist ? kSwitchOff : kSwitchOn); !shown.ok()) {
    return shown;
  }
  return host_.setModeText(exist ? kModeTextOn : kModeTextOff);
}

Status FrmMain::Form_Load() {
  // The game first: a marker without a game still means the wrong folder.
  if (!platform_.canOpenForReading(kGameFile)) {
    Status told = platform_.messageBox(kGameMissing, kCaption, MessageIcon::None);
    host_.close();
    return told;
  }
  return Butt(platform_.canOpenForReading(kMarkerFile));
}

Status FrmMain::lblSwitch_Click() {
  bool on = false;
  if (Status read = textToBool(tag_, on); !read.ok()) {
    return read;
  }
  // The recorded mode decides, not the disk; the display changes first, the file second.
  if (Status shown = Butt(!on); !shown.ok()) {
    return shown;
  }
  const Status changed =
      on ? platform_.deleteFile(kMarkerFile) : platform_.writeLine(kMarkerFile, kCreditLine);
  if (!changed.ok()) {
    return switchFailed(on ? kCannotDeleteMarker : kCannotCreateMarker, changed.error());
  }
  return {};
}

Status FrmMain::lblRun_Click() {
  if (const Status started = platform_.startProgram(kGameFile); !started.ok()) {
    return showError(kCannotStartGame, started.error());
  }
  return {};
}

Status FrmMain::lblExit_Click() {
  host_.close();
  return {};
}

// A failed switch: show again what the disk holds, judged as at start-up, then say why.
Status FrmMain::switchFailed(std::wstring_view what, const Error& error) {
  if (Status shown = Butt(platform_.canOpenForReading(kMarkerFile)); !shown.ok()) {
    return shown;
  }
  return showError(what, error);
}

Status FrmMain::showError(std::wstring_view what, const Error& error) {
  return platform_.messageBox(std::wstring(what) + L"\n\n" + error.description, kCaption,
                              MessageIcon::Error);
}

} // namespace kelvarin
