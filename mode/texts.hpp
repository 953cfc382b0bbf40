// Every file name and text the mode logic uses, built in. The window's layout table starts out
// with the caption and the mode texts from here.
#pragma once

#include <string_view>

namespace kelvarin {

inline constexpr std::wstring_view kCaption = L"Kelvarin";
inline constexpr std::wstring_view kGameFile = L"icytower.exe";
inline constexpr std::wstring_view kMarkerFile = L"fun.mode.on";
inline constexpr std::string_view kCreditLine = "Created with Kelvarin by tarquel";

inline constexpr std::wstring_view kGameMissing =
    L"Icytower.exe wasn't found. The switcher must be in the game directory.";

inline constexpr std::wstring_view kSwitchOn = L"On";
inline constexpr std::wstring_view kSwitchOff = L"Off";
inline constexpr std::wstring_view kModeTextOn = L"FUN MODE IS ON";
inline constexpr std::wstring_view kModeTextOff = L"FUN MODE IS OFF";

inline constexpr std::wstring_view kCannotCreateMarker =
    L"The file \"fun.mode.on\" could not be written.";
inline constexpr std::wstring_view kCannotDeleteMarker =
    L"The file \"fun.mode.on\" could not be deleted.";
inline constexpr std::wstring_view kCannotStartGame =
    L"The game \"icytower.exe\" could not be started.";

} // namespace kelvarin
