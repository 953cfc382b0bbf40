// What the tests expect the program to show and write, each written out once here and never
// taken from the program's sources: a text changed there must fail a test.
#pragma once

#include <string>

namespace kelvarin::e2e::expected {

inline const std::wstring kCaption = L"Kelvarin";
inline const std::wstring kModeOn = L"FUN MODE IS ON";
inline const std::wstring kModeOff = L"FUN MODE IS OFF";

// The labels' words (the switch label's while the mode is off, then on) and the tooltips of
// the three that are commands.
inline const std::wstring kSwitchOn = L"On";
inline const std::wstring kSwitchOff = L"Off";
inline const std::wstring kRun = L"Run";
inline const std::wstring kExit = L"Exit";
inline const std::wstring kCredit = L"by tarquel";
inline const std::wstring kVersionLabel = L"v2.0";
inline const std::wstring kSwitchTip = L"Switch FUN MODE.";
inline const std::wstring kRunTip = L"Run Icy Tower.";
inline const std::wstring kExitTip = L"Exit program.";

inline const std::wstring kGame = L"icytower.exe";
inline const std::wstring kMarker = L"fun.mode.on";
// The marker as the program writes it.
inline const std::string kMarkerBytes = "Created with Kelvarin by tarquel\r\n";

inline const std::wstring kGameMissing =
    L"Icytower.exe wasn't found. The switcher must be in the game directory.";
inline const std::wstring kCannotWrite = L"The file \"fun.mode.on\" could not be written.";
inline const std::wstring kCannotDelete = L"The file \"fun.mode.on\" could not be deleted.";
inline const std::wstring kCannotStart = L"The game \"icytower.exe\" could not be started.";

} // namespace kelvarin::e2e::expected
