// The window's pictures composed: the wall first, then the plates from the bottom of the stack
// up, each squeezed to its rectangle with the wall showing through its transparent pixels. The
// labels' words are drawn over it at paint time, at the window's DPI.
#pragma once

#include "pictures/pictures.hpp"

namespace kelvarin::scene {

// The scene, laid out at 96 DPI, stretched to the canvas's size nearest neighbour so that the
// pixel art stays sharp: canvas pixel (x, y) shows scene pixel (x * scene width / canvas width,
// y * scene height / canvas height). The pictures are decoded straight onto the canvas. False
// if a picture record does not decode: the program's own data is broken, and the canvas holds
// what was drawn before.
bool compose(pictures::Canvas& canvas);

} // namespace kelvarin::scene
