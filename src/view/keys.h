#pragma once

// The keys the view reads, by the virtual-key numbers of the system the
// drawings come from: letters and digits are their upper-case characters
// ('A', '7'), the rest are named here. The window translates its own key
// codes into these.
namespace Key {
constexpr int None = 0;
constexpr int Backspace = 0x08;
constexpr int Tab = 0x09;
constexpr int Return = 0x0D;
constexpr int Shift = 0x10;
constexpr int Control = 0x11;
constexpr int Alt = 0x12;
constexpr int Escape = 0x1B;
constexpr int Space = 0x20;
constexpr int PageUp = 0x21;
constexpr int PageDown = 0x22;
constexpr int End = 0x23;
constexpr int Home = 0x24;
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
constexpr int Insert = 0x2D;
constexpr int Delete = 0x2E;
constexpr int Menu = 0x5D;
constexpr int F1 = 0x70;
constexpr int F2 = 0x71;
constexpr int F5 = 0x74;
constexpr int F6 = 0x75;
constexpr int F10 = 0x79;
constexpr int Plus = 0xBB;
constexpr int Comma = 0xBC;
constexpr int Minus = 0xBD;
constexpr int Period = 0xBE;
constexpr int Slash = 0xBF; // whatever key types "/", the keypad's too
} // namespace Key

// A key going down or up, with the modifiers held at that moment.
struct CKeyEvent {
    int key = Key::None;
    bool ctrl = false;
    bool shift = false;
    bool repeat = false; // a held key's repeated press
};
