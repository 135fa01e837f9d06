// The diagnostics window: a resizable log view on a thread of its own.
#pragma once

// Starts the window's thread and returns once the window exists, or, if it cannot be
// created, after a short bound; the program then runs without it.
void StartDiagnostics();
