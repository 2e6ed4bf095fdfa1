// Cutting a tab-separated report line into table cells, in place.
#pragma once

// Filler separates cells and is trimmed from their ends: every byte up to
// 0x20 (blank, TAB, control characters) and the colon of "Caption\t: value".
bool IsCellFiller(unsigned char c);

// Cuts text into at most maxCells cells (pointers into text, NULs written
// over the TABs); a row cell: trimmed only where a TAB ends it, empty cells
// allowed, a trailing TAB gives a trailing empty cell. When the line holds
// more cells than maxCells, the last one keeps the rest of the line.
// Returns the number of cells (at least 1).
int CutRowCells(char* text, char** cells, int maxCells);

// Same for column headings: every cell trimmed at its end, and a trailing TAB
// adds no empty cell. Returns the number of cells (0 for an empty line).
int CutHeadingCells(char* text, char** cells, int maxCells);
