// What the screen shows of the window, held against the pictures it is composed of: outside
// the words every pixel is the picture's, and the words are the only thing drawn over it.
#pragma once

#include "pictures/pictures.hpp"
#include "tools/driver/kelvarin.hpp"
#include "window/layout.hpp"

#include <string>
#include <vector>

namespace kelvarin::e2e {

// The scene as the program composes it for a client area of `width` x `height`.
pictures::Canvas sceneAt(int width, int height);

// The client area with the pointer away from it, no tooltip over it and its paint on the
// screen.
pictures::Canvas restingPicture(const Kelvarin& app);

// Whether a pixel could be a word's over that picture pixel: black text, anti-aliased or
// not, is nowhere lighter than what it is drawn on.
bool darkerOrSame(std::uint32_t shown, std::uint32_t picture);

// The pixels where the screen does not show `expected`: outside the labels at `dpi` a pixel
// must equal the picture, inside them it may be darker; the text box paints itself and is not
// looked at. Empty when all is well, otherwise a few of them, described.
std::string pictureMismatches(const pictures::Canvas& shot, const pictures::Canvas& expected,
                              int dpi);

// The smallest rectangle holding every pixel of `area` that differs from the picture: the
// word drawn there. Zero width and height when there is none.
layout::Rect wordBox(const pictures::Canvas& shot, const pictures::Canvas& expected,
                     const layout::Rect& area);

// The smallest rectangle holding every pixel where two pictures of the client area differ, the
// text box aside (its caret blinks). Zero width and height when they are the same.
layout::Rect changedArea(const pictures::Canvas& a, const pictures::Canvas& b);

} // namespace kelvarin::e2e
