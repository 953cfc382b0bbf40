#include "mode/frm_main.hpp"

#include "mode/texts.hpp"
#include "platform/text.hpp"

namespace kelvarin {

void FrmMain::Butt(bool exist) {
  tag_ = boolToText(exist);
  display_.setSwitchCaption(exist ? kSwitchOff : kSwitchOn);
  std::wstring text(kModePrefix);
  text += exist ? kModeOn : kModeOff;
  display_.setModeText(text);
}

void FrmMain::Form_Load() {
  // The game first: a marker without a game still means the wrong folder.
  if (!platform_.canOpenForReading(kGameFile)) {
    platform_.messageBox(kGameMissing, kCaption, MessageIcon::None);
    End();
    return;
  }
  Butt(platform_.canOpenForReading(kMarkerFile));
}

void FrmMain::lblSwitch_Click() {
  if (ended_) {
    return;
  }
  // The recorded mode decides, not the disk; the display changes first, the file second.
  if (textToBool(tag_)) {
    Butt(false);
    try {
      // A marker someone else already removed is the state wanted: nothing to report.
      platform_.deleteFile(kMarkerFile);
    } catch (const Error& error) {
      switchFailed(kCannotDeleteMarker, error);
    }
  } else {
    Butt(true);
    try {
      platform_.writeLine(kMarkerFile, kCreditLine);
    } catch (const Error& error) {
      switchFailed(kCannotCreateMarker, error);
    }
  }
}

void FrmMain::lblRun_Click() {
  if (ended_) {
    return;
  }
  try {
    platform_.startProgram(kGameFile);
  } catch (const Error& error) {
    showError(kCannotStartGame, error);
  }
}

void FrmMain::lblExit_Click() {
  if (!ended_) {
    End();
  }
}

void FrmMain::End() {
  ended_ = true;
  platform_.endProgram();
}

// A failed switch: show again what the disk holds, judged as at start-up, then say why.
void FrmMain::switchFailed(std::wstring_view what, const Error& error) {
  Butt(platform_.canOpenForReading(kMarkerFile));
  showError(what, error);
}

void FrmMain::showError(std::wstring_view what, const Error& error) {
  platform_.messageBox(std::wstring(what) + L"\n\n" + error.description(), kCaption,
                       MessageIcon::Error);
}

} // namespace kelvarin
