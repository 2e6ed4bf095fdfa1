// The report window inside the test process: its resources, the record it
// fills, the refill request, the font commands and the log writing without
// the save dialog. Runs under Wine with a display; no step here raises a
// message box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "int_str.h"
#include "invocation.h"
#include "message_width.h"
#include "report_window.h"

namespace {

int fills = 0;
std::string fillText = "line one\r\nline two\r\n";

int QMRK_STDCALL CountingFill(uint16_t wMessage, uintptr_t, intptr_t) {
  if (wMessage == 1) {
    ++fills;
    QMRKAddText(&wnd_data, fillText.c_str());
  }
  return 0;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::string ReadFileText(const std::string& path) {
  std::string text;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
  }
  return text;
}

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  return std::string(dir) + name;
}

std::string MenuText(HMENU menu, UINT position) {
  char text[64] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

class ReportWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    InitLanguagesEx(GetModuleHandleA(nullptr), 0);
    fills = 0;
    fillText = "line one\r\nline two\r\n";
    const std::string longContext(100, 'c');
    ASSERT_EQ(QMRKCreateTextWindow(GetModuleHandleA(nullptr), "Window test", "velmora.hlp",
                                   longContext.c_str(), 10, 20, 300, 200, nullptr, SW_HIDE,
                                   &wnd_data, WndProc, CountingFill),
              1);
    frame = static_cast<HWND>(wnd_data.hWnd);
    edit = static_cast<HWND>(wnd_data.heditWnd);
  }
  void TearDown() override {
    QMRKCloseWindow(&wnd_data);
    Pump();
  }
  void Fill() { SendMessageA(frame, WM_USER, kRefillWParam, kRefillLParam); }
  std::string Text() {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
    return text;
  }

  HWND frame = nullptr;
  HWND edit = nullptr;
};

TEST(ReportWindowResources, MenuHasTheFourEnglishPopupsAndTheirCommands) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(10));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 4);
  EXPECT_EQ(MenuText(menu, 0), "&File");
  EXPECT_EQ(MenuText(menu, 1), "&Edit");
  EXPECT_EQ(MenuText(menu, 2), "&Content");
  EXPECT_EQ(MenuText(menu, 3), "&Help");
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(GetMenuItemID(file, 0), 108u);
  EXPECT_EQ(MenuText(file, 0), "Save &As");
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  EXPECT_EQ(GetMenuItemID(file, 2), 101u);
  EXPECT_EQ(MenuText(file, 2), "E&xit");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 1), 0), 102u);
  EXPECT_EQ(MenuText(GetSubMenu(menu, 1), 0), "&Copy");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 2), 0), 109u);
  EXPECT_EQ(MenuText(GetSubMenu(menu, 2), 0), "&Refresh");
  EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 3), 0), 106u);
  EXPECT_EQ(MenuText(GetSubMenu(menu, 3), 0), "&About Quillmark");
  DestroyMenu(menu);
}

TEST(ReportWindowResources, AcceleratorsAndIcon) {
  HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(10));
  ASSERT_NE(table, nullptr);
  ACCEL entries[8];
  ASSERT_EQ(CopyAcceleratorTableA(table, entries, 8), 3);
  // Ctrl+C as the character code 3, Ctrl+Insert and F1 as keys.
  EXPECT_EQ(entries[0].fVirt & FVIRTKEY, 0);
  EXPECT_EQ(entries[0].key, 3);
  EXPECT_EQ(entries[0].cmd, 102);
  EXPECT_EQ(entries[1].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL);
  EXPECT_EQ(entries[1].key, VK_INSERT);
  EXPECT_EQ(entries[1].cmd, 102);
  EXPECT_EQ(entries[2].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY);
  EXPECT_EQ(entries[2].key, VK_F1);
  EXPECT_EQ(entries[2].cmd, 105);
  DestroyAcceleratorTable(table);
  EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
}

TEST(ReportWindowShell, NewerShellOnlyForVersion395) {
  EXPECT_EQ(Is95FromVersion(0x5F03), 1);
  EXPECT_EQ(Is95FromVersion(0xC0005F03u), 1);  // the build number is ignored
  EXPECT_EQ(Is95FromVersion(0x0004), 0);       // 4.0
  EXPECT_EQ(Is95FromVersion(0x0105), 0);       // 5.1
  EXPECT_EQ(Is95FromVersion(0x035F), 0);       // bytes the other way round
  uint32_t frameEx = 1, editEx = 1;
  ReportWindowExStyles(1, &frameEx, &editEx);
  EXPECT_EQ(frameEx, static_cast<uint32_t>(WS_EX_APPWINDOW));
  EXPECT_EQ(editEx, static_cast<uint32_t>(WS_EX_CLIENTEDGE));
  ReportWindowExStyles(0, &frameEx, &editEx);
  EXPECT_EQ(frameEx, 0u);
  EXPECT_EQ(editEx, 0u);
}

TEST_F(ReportWindow, CreationFillsTheRecord) {
  EXPECT_EQ(wnd_data.wFlags, kWndClassRegistered | kWndEditCreated);
  EXPECT_STREQ(wnd_data.wndclassname, "QMRKWAPP");
  EXPECT_STREQ(wnd_data.cHelpFileName, "velmora.hlp");
  EXPECT_EQ(std::string(wnd_data.cHelpContext), std::string(79, 'c'));
  EXPECT_EQ(wnd_data.crBkColor, 0xC0C0C0u);
  EXPECT_EQ(wnd_data.crTextColor, 0u);
  EXPECT_NE(wnd_data.hBrush, nullptr);
  EXPECT_EQ(wnd_data.iHTMLOutput, 0);
  EXPECT_EQ(GetDlgCtrlID(edit), kReportEditId);
  EXPECT_EQ(GetParent(edit), frame);
  HMENU menu = GetMenu(frame);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 4);
  RECT r;
  GetWindowRect(frame, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 20);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 200);
  EXPECT_GE(ResultDword(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
}

TEST_F(ReportWindow, SecondCreationWithTheTitleAsksForARefill) {
  Fill();
  ASSERT_EQ(fills, 1);
  HLISTWINDOW_ARRAY_struct other = {};
  EXPECT_EQ(QMRKCreateTextWindow(GetModuleHandleA(nullptr), "Window test", nullptr, nullptr, 0, 0,
                                 0, 0, nullptr, SW_HIDE, &other, WndProc, CountingFill),
            -1);
  EXPECT_EQ(other.wFlags, 0);
  Pump();
  EXPECT_EQ(fills, 2);
  // Cleared before the refill: the text is there once.
  EXPECT_EQ(Text(), fillText);
}

TEST_F(ReportWindow, RefillOnlyForItsOwnParameters) {
  SendMessageA(frame, WM_USER, kRefillWParam, 1);
  SendMessageA(frame, WM_USER, 1, kRefillLParam);
  EXPECT_EQ(fills, 0);
  Fill();
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(LOWORD(SendMessageA(edit, EM_GETSEL, 0, 0)), 0);
}

TEST_F(ReportWindow, ResizeKeepsTheEditControlFillingTheFrame) {
  MoveWindow(frame, 0, 0, 500, 400, TRUE);
  RECT client, editRect;
  GetClientRect(frame, &client);
  GetWindowRect(edit, &editRect);
  EXPECT_EQ(editRect.right - editRect.left, client.right);
  EXPECT_EQ(editRect.bottom - editRect.top, client.bottom);
}

TEST_F(ReportWindow, FontCommandsChangeTheSizeKeptAtClose) {
  SendMessageA(frame, WM_COMMAND, kCmdLargeFont, 0);
  EXPECT_EQ(default_font_is_small, 0);
  EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(edit, WM_GETFONT, 0, 0)),
            GetStockObject(ANSI_VAR_FONT));
  QMRKCloseWindow(&wnd_data);
  EXPECT_EQ(wnd_data.wFlags, 0);
  EXPECT_EQ(wnd_data.hWnd, nullptr);
  EXPECT_EQ(GetProfileIntA("QMRKWIN", "SmallFont", -1), 0);
  SetUp();
  EXPECT_EQ(default_font_is_small, 0) << "read back from the profile";
  SendMessageA(frame, WM_COMMAND, kCmdSmallFont, 0);
  EXPECT_EQ(default_font_is_small, 1);
  QMRKCloseWindow(&wnd_data);
  EXPECT_EQ(GetProfileIntA("QMRKWIN", "SmallFont", -1), 1);
}

TEST_F(ReportWindow, ArrowCursorOverTheText) {
  EXPECT_EQ(SendMessageA(frame, WM_SETCURSOR, reinterpret_cast<WPARAM>(edit),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(ReportWindow, LogHoldsTheTextAndTheClosingLine) {
  Fill();
  const std::string path = TempPath("syslens-window-test.log");
  EXPECT_EQ(WriteLogFile(&wnd_data, path.c_str()), 0);
  EXPECT_EQ(ReadFileText(path), fillText + "\r\n\r\nQuillmark For Windows\r\n");
  DeleteFileA(path.c_str());
}

TEST_F(ReportWindow, LogOfMoreThan64KIsSavedWhole) {
  fillText.clear();
  for (int i = 0; fillText.size() <= 70000; ++i) {
    char line[64];
    snprintf(line, sizeof line, "  Row %05d\t: value\r\n", i);
    fillText += line;
  }
  Fill();
  ASSERT_EQ(Text().size(), fillText.size()) << "the whole report is in the control";
  const std::string path = TempPath("syslens-window-large.log");
  EXPECT_EQ(WriteLogFile(&wnd_data, path.c_str()), 0);
  EXPECT_EQ(ReadFileText(path), fillText + "\r\n\r\nQuillmark For Windows\r\n");
  DeleteFileA(path.c_str());
}

TEST_F(ReportWindow, EmptyReportIsError4AndLeavesAnEmptyFile) {
  const std::string path = TempPath("syslens-window-empty.log");
  FILE* old = fopen(path.c_str(), "wb");
  ASSERT_NE(old, nullptr);
  fputs("older content", old);
  fclose(old);
  EXPECT_EQ(WriteLogFile(&wnd_data, path.c_str()), kSaveErrorEmpty);
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadFileText(path), "");
  DeleteFileA(path.c_str());
}

TEST_F(ReportWindow, UncreatableFileIsError5) {
  Fill();
  const std::string path = TempPath("no-such-directory\\x.log");
  EXPECT_EQ(WriteLogFile(&wnd_data, path.c_str()), kSaveErrorCreate);
}

}  // namespace
