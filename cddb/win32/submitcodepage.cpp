// The ANSI code page the disc texts are held in, for the submission mail's charset.
#include <windows.h>

#include "cddb/submitmail.h"

unsigned AnsiCodePage() { return GetACP(); }
