#include "app/shellstate.h"

ShellState& Shell() {
    static ShellState state;
    return state;
}

void ResetShell() { Shell() = ShellState(); }
