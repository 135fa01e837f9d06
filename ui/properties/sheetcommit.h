// The working copy's life around the sheet: made when it opens, committed on OK,
// dropped on Cancel.
#pragma once

// Makes the copy under DiscInfoLock and clears sheetAccepted.
void OpenPropertiesCopy();

// After the sheet has closed. Without sheetAccepted the copy is dropped and 0 returned.
// Otherwise, under the lock, the disc texts and cddb settings are applied (the texts
// not while a lookup runs), the programmed order replaced by the copy's and those of the
// ten play options that the pages changed copied; then the copy is freed and its
// programChanged returned.
int ClosePropertiesCopy();
