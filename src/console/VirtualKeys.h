#pragma once
// The key codes and modifier states the keyboard handler speaks, whatever the window
// system delivers: the window maps its own key events to these once.

namespace Vk {

constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Pause = 19; // Pause/Break
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int PageUp = 33;
constexpr int PageDown = 34;
constexpr int End = 35;
constexpr int Home = 36;
constexpr int Left = 37;
constexpr int Up = 38;
constexpr int Right = 39;
constexpr int Down = 40;
constexpr int Insert = 45;
constexpr int Delete = 46;
constexpr int A = 65;
constexpr int C = 67;
constexpr int V = 86;
constexpr int X = 88;
constexpr int Y = 89;
constexpr int Z = 90;
constexpr int Menu = 93; // the context-menu key
constexpr int F1 = 112;
constexpr int F9 = 120;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;
constexpr int BracketLeft = 219;
constexpr int BracketRight = 221;

// Modifier states: a sum of these.
constexpr int ShiftMask = 1;
constexpr int CtrlMask = 2;
constexpr int AltMask = 4;

// Characters of the key-press event that are not printable.
constexpr int CtrlC = 3;
constexpr int CtrlV = 22;
constexpr int CtrlX = 24;

// Mouse buttons.
constexpr int RightButton = 2;
constexpr int MiddleButton = 4;

} // namespace Vk
