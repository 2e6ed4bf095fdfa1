#include "tabbed_cells.h"

#include <cstring>

bool IsCellFiller(unsigned char c) { return c <= 0x20 || c == ':'; }

namespace {

// Drops trailing filler but never empties a one-character cell, so a lone
// ":" or "-" value stays visible.
void TrimCellEnd(char* text) {
  size_t length = strlen(text);
  while (length >= 2 && IsCellFiller(static_cast<unsigned char>(text[length - 1]))) {
    text[--length] = '\0';
  }
}

char* SkipLeadingFiller(char* text) {
  while (*text && IsCellFiller(static_cast<unsigned char>(*text))) ++text;
  return text;
}

// The next cell starts past filler after a TAB, but a further TAB still
// separates: two TABs in a row leave an empty cell between them.
char* SkipFillerBeforeCell(char* text) {
  while (*text && *text != '\t' && IsCellFiller(static_cast<unsigned char>(*text))) ++text;
  return text;
}

int Cut(char* text, char** cells, int maxCells, bool headingRules) {
  if (maxCells <= 0) return 0;
  char* current = SkipLeadingFiller(text);
  int count = 0;
  while (count < maxCells - 1) {
    char* tab = strchr(current, '\t');
    if (!tab) break;
    *tab = '\0';
    char* next = SkipFillerBeforeCell(tab + 1);
    TrimCellEnd(current);
    TrimCellEnd(next);
    cells[count++] = current;
    current = next;
    if (headingRules && *current == '\0') return count;
  }
  if (headingRules) {
    TrimCellEnd(current);
    if (*current == '\0' && count == 0) return 0;
  }
  cells[count++] = current;
  return count;
}

}  // namespace

int CutRowCells(char* text, char** cells, int maxCells) {
  return Cut(text, cells, maxCells, false);
}

int CutHeadingCells(char* text, char** cells, int maxCells) {
  return Cut(text, cells, maxCells, true);
}
