// Program entry: the parameter string from the host program selects one
// output (own window, the host's edit control, HTML file or property file).
#include "invocation.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "int_str.h"
#include "qmrkw32.h"
#include "report_window.h"
#include "run.h"
#include "sink_state.h"
#include "string_ids.h"

uint16_t wIconSrcX = 0, wIconSrcY = 0, wIconSrcX2 = 0, wIconSrcY2 = 0;
int iAnimateOpen = 0;
char szOutputFileName[260] = "";

namespace {

constexpr int kFieldsForWindowOutput = 6;
constexpr int kAllFields = 8;

bool EqualsIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char ca = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
    char cb = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (ca != cb) return false;
  }
  return *a == *b;
}

void SetOutputFile(const char* name) {
  snprintf(wnd_data.szOutputFile, sizeof wnd_data.szOutputFile, "%s", name);
}

void RunHtmlReport(QHANDLE hInstance, const char* file) {
  bHTML = 1;
  SetOutputFile(file);
  wnd_data.iHTMLOutput = 1;
  wnd_data.hInstance = hInstance;
  FillScreen();
}

void RunPropertyReport(QHANDLE hInstance, const char* file) {
  SetOutputFile(file);
  wnd_data.hInstance = hInstance;
  bData = 1;
  FillScreen();
}

// The keyword runs replace their file. One that cannot be deleted (another
// user's, in a sticky directory) may be a link planted to a file of this
// user's, so the new file is made exclusively and nothing is written when
// the name is still taken.
bool ReplaceKeywordFile(const char* name) {
  PlatDeleteFile(name);
  FILE* created = PlatCreateNewFile(name);
  if (!created) {
    PlatReportFailure(std::string("cannot replace ") + name + ": " + strerror(errno));
    return false;
  }
  fclose(created);
  return true;
}

int RunOwnWindow(QHANDLE hInstance, int nCmdShow) {
  bEdit = 1;
  const int16_t created =
      QMRKCreateTextWindow(hInstance, lpszLoadString(kIdReportTitle), "velmora.hlp", "Velmora", 0,
                           0, 0, 0, PlatLoadIcon(ghInst, static_cast<unsigned>(GetIconId(1))),
                           nCmdShow, &wnd_data, WndProc, OurCallback);
  if (created == -1) return 0;
  FillScreen();
  const intptr_t result = QMRKExecute(&wnd_data);
  QMRKCloseWindow(&wnd_data);
  return static_cast<int>(result);
}

}  // namespace

int ScanParameterString(const char* lpszCmdParam, ParameterFields* f) {
  // The file name is cut to the 259 characters its buffer holds.
  return sscanf(lpszCmdParam ? lpszCmdParam : "",
                "W=%08lX X=%04X Y=%04X X2=%04X Y2=%04X A=%1i F=%08lX FN=%259s", &f->W, &f->X, &f->Y,
                &f->X2, &f->Y2, &f->A, &f->F, f->FN);
}

int SyslensMain(QHANDLE hInstance, const char* lpszCmdParam, int nCmdShow) {
  ghInst = hInstance;
  InitLanguages(hInstance);
  if (!lpszCmdParam) lpszCmdParam = "";

  ParameterFields fields;
  const int n = ScanParameterString(lpszCmdParam, &fields);
  if (n >= kFieldsForWindowOutput) {
    wIconSrcX = static_cast<uint16_t>(fields.X);
    wIconSrcY = static_cast<uint16_t>(fields.Y);
    wIconSrcX2 = static_cast<uint16_t>(fields.X2);
    wIconSrcY2 = static_cast<uint16_t>(fields.Y2);
    iAnimateOpen = fields.A;
    dwFlags = static_cast<uint32_t>(fields.F);
    snprintf(szOutputFileName, sizeof szOutputFileName, "%s", fields.FN);
    wnd_data.iHTMLOutput = 0;
    if (n == kAllFields && (dwFlags & kFlagHtmlOutput)) {
      RunHtmlReport(hInstance, szOutputFileName);
      return 0;
    }
    if (n == kAllFields && (dwFlags & kFlagPropertyOutput)) {
      RunPropertyReport(hInstance, szOutputFileName);
      return 0;
    }
    bEdit = 1;
    const uint32_t hostEdit = static_cast<uint32_t>(fields.W);
    if (hostEdit != 0) {
      wnd_data.heditWnd = PlatAttachHostEdit(hostEdit);
      FillScreen();
      PlatReleaseHostEdit(wnd_data.heditWnd);
      return 0;
    }
    return RunOwnWindow(hInstance, nCmdShow);
  }

  // The host starts a module with "SELFREPORT" to learn that it is one of the
  // suite's own, without a report or a window: 2 is the answer it looks for,
  // apart from the 0 that every report run and the refusal below end with.
  if (EqualsIgnoringCase(lpszCmdParam, "SELFREPORT")) return 2;
  if (EqualsIgnoringCase(lpszCmdParam, "tulip2")) {
    if (ReplaceKeywordFile("output.htm")) RunHtmlReport(hInstance, "output.htm");
    return 0;
  }
  if (EqualsIgnoringCase(lpszCmdParam, "tulip3")) {
    if (ReplaceKeywordFile(PlatKeywordPropertyFile())) {
      RunPropertyReport(hInstance, PlatKeywordPropertyFile());
    }
    return 0;
  }
  if (EqualsIgnoringCase(lpszCmdParam, "tulip")) return RunOwnWindow(hInstance, nCmdShow);

  PlatMessageBox(nullptr, lpszLoadString(kIdNotStandalone), nullptr, MsgIcon::Error);
  return 0;
}

intptr_t QMRK_STDCALL WndProc(QHANDLE hWnd, unsigned message, uintptr_t wParam, intptr_t lParam) {
  return QMRKWndProc(hWnd, message, wParam, lParam, &wnd_data);
}

int QMRK_STDCALL OurCallback(uint16_t wMessage, uintptr_t, intptr_t) {
  if (wMessage == 1) FillScreen();
  return 0;
}
