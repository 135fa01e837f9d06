// What the panel's buttons are called: each carries its command as its window text,
// which the accessibility layer reads as its name (the faces show no text), and shows
// it as its tip.
#pragma once

#include <string>

// The key on the keyboard that does what a panel button does, by the name keyboards
// print on it; null for a button no key matches (Eject).
const char* PanelButtonKey(int controlId);

// A panel button's tip: its name, and the key in brackets where one does the same,
// "Next Track (Next Track key)".
std::string PanelButtonTip(const std::string& name, int controlId);
