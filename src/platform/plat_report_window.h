// The report window's mechanics below the viewer: on Win32 the frame, its
// edit control, the menu commands, the fonts, the message loop and the save
// dialog. What they need from above (texts, resource ids, the opening
// rectangle, what a clear, a refill or a full control does) the viewer hands
// in through a PlatReportWindow record; the window writes its handles back
// into the same record.
#pragma once

#include <cstdint>

#include "platform.h"

// Identifiers the window and its users (host, tests) share.
constexpr int kReportEditId = 111;
constexpr uintptr_t kRefillWParam = 12345;
constexpr intptr_t kRefillLParam = 1234567;
enum ReportCommand : uint16_t {
  kCmdExit = 101,
  kCmdCopy = 102,
  kCmdNextVersion1 = 103,
  kCmdNextVersion2 = 104,
  kCmdHelp = 105,  // F1
  kCmdAbout = 106,
  kCmdSmallFont = 107,
  kCmdSaveAs = 108,
  kCmdRefresh = 109,
  kCmdLargeFont = 110,
};

// State bits of the window (the report-window record's wFlags).
constexpr uint16_t kWndClassRegistered = 0x0001;
constexpr uint16_t kWndEditCreated = 0x0002;
constexpr uint16_t kWndFrameCreating = 0x0004;

// Error numbers of log saving, shown in a message box before the failure text.
constexpr int kSaveErrorLock = 2;
constexpr int kSaveErrorMemory = 3;
constexpr int kSaveErrorEmpty = 4;
constexpr int kSaveErrorCreate = 5;

// The texts the window shows or writes; each is asked for when it is used.
enum class PlatWindowText : uint8_t {
  NotYetSupported,
  EditFull,
  AboutText,
  AboutTitle,
  ErrWindowClass,
  ErrMainWindow,
  ErrListWindow,
  SaveFilter,  // NUL-separated parts, ending with an empty one
  SaveClosingLine,
  SaveFailed,
};

// Window procedure registered for the window's class.
using PlatWndProcFn = intptr_t(QMRK_STDCALL*)(QHANDLE hWnd, unsigned message, uintptr_t wParam,
                                              intptr_t lParam);

struct PlatReportWindow {
  // Handed in before creation.
  QHANDLE instance = nullptr;
  const char* className = nullptr;
  uint32_t textColor = 0;
  uint32_t bkColor = 0;
  int menuId = 0;
  int acceleratorId = 0;
  // The opening is animated from this rectangle when animateOpen is nonzero.
  int animateOpen = 0;
  uint16_t fromX = 0, fromY = 0, fromX2 = 0, fromY2 = 0;
  int* smallFont = nullptr;  // the font choice; the font commands change it
  void* owner = nullptr;     // handed back to the calls below
  const char* (*text)(PlatWindowText which) = nullptr;
  void (*clear)(void* owner) = nullptr;     // empties the report before a refill
  void (*refill)(void* owner) = nullptr;    // writes the report again
  void (*editFull)(void* owner) = nullptr;  // the control holds no more text
  // Set by the window.
  QHANDLE frame = nullptr;
  QHANDLE edit = nullptr;
  QHANDLE brush = nullptr;
  QHANDLE font = nullptr;
  uint16_t flags = 0;
};

#if defined(_WIN32)
// 1 when the system reports itself as version 3.95 (the newer shell's
// compatibility answer); selects the newer window styles and dialog flags.
extern int is95;
// is95 from a GetVersion result: its low 16 bits are 0x5F03.
int Is95FromVersion(uint32_t dwVersion);
// Extended styles of the frame and the edit control for an is95 value.
void ReportWindowExStyles(int newShell, uint32_t* frameExStyle, uint32_t* editExStyle);

// Sets is95; true when a window of that title (not null) is open already and
// was asked to refill, so no second one is made.
bool PlatRefillOpenReportWindow(const char* title);
// Registers the class and makes the frame and the edit control. 1: created
// and shown; -1: a step failed (its message shown). When the flags still
// hold kWndClassRegistered after a failure, the caller closes the window.
int16_t PlatCreateReportWindow(PlatReportWindow* w, const char* title, uint16_t x, uint16_t y,
                               uint16_t width, uint16_t height, QHANDLE icon, int nCmdShow,
                               PlatWndProcFn wndProc);
intptr_t PlatReportWindowProc(PlatReportWindow* w, QHANDLE hWnd, unsigned message, uintptr_t wParam,
                              intptr_t lParam);
// Runs the message loop until the window closes; the quit message's code.
intptr_t PlatRunReportWindow(PlatReportWindow* w);
// Destroys the window, frees its brush and font and unregisters the class.
void PlatCloseReportWindow(PlatReportWindow* w);

// Save As: asks for a file in the common save dialog, then PlatWriteReportLog;
// an error number is shown, then the failure text.
void PlatSaveReportLog(PlatReportWindow* w);
// Writes the edit control's whole text and the closing line into path,
// replacing the file. Returns 0, or a kSaveError number. The file is created
// (and stays, empty) before the text is judged.
int PlatWriteReportLog(const PlatReportWindow* w, const char* path);
#endif
