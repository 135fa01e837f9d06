// Native builds have no ANSI code page: Western European unless a test sets another.
#include <atomic>

#include "cddb/submitmail.h"

namespace {
std::atomic<unsigned> codePage{1252};
} // namespace

unsigned AnsiCodePage() { return codePage; }
void SetAnsiCodePage(unsigned page) { codePage = page; }
