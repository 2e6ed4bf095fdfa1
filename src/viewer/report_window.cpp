#include "report_window.h"

#include <cstdio>

int default_font_is_small = 1;

void ReadFontChoice() { default_font_is_small = PlatGetProfileInt("QMRKWIN", "SmallFont", 1); }

void WriteFontChoice() {
  char value[16];
  snprintf(value, sizeof value, "%i", default_font_is_small);
  PlatWriteProfileString("QMRKWIN", "SmallFont", value);
}

void InitialiseWindowRecord(LPHLISTWINDOW_ARRAY_struct lpwnd_data, QHANDLE hInstance,
                            const char* lpszHelpFile, const char* lpszHelpContext,
                            QMRKWndProcFn lpWndProc, QMRKCallBack lpCallBack) {
  lpwnd_data->hWnd = nullptr;
  lpwnd_data->heditWnd = nullptr;
  lpwnd_data->wFlags = 0;
  lpwnd_data->hExtraData = nullptr;
  lpwnd_data->lpExtraData = nullptr;
  lpwnd_data->hFont = nullptr;
  lpwnd_data->hBrush = nullptr;
  lpwnd_data->crTextColor = 0x000000;
  lpwnd_data->crBkColor = 0xC0C0C0;
  lpwnd_data->hInstance = hInstance;
  lpwnd_data->lpCallBack = lpCallBack;
  lpwnd_data->lpWndProc = lpWndProc;
  lpwnd_data->iHTMLOutput = 0;
  snprintf(lpwnd_data->cHelpFileName, sizeof lpwnd_data->cHelpFileName, "%s",
           lpszHelpFile ? lpszHelpFile : "");
  snprintf(lpwnd_data->cHelpContext, sizeof lpwnd_data->cHelpContext, "%s",
           lpszHelpContext ? lpszHelpContext : "");
  snprintf(lpwnd_data->wndclassname, sizeof lpwnd_data->wndclassname, "QMRKWAPP");
}

void ResetWindowRecord(LPHLISTWINDOW_ARRAY_struct lpwnd_data) {
  lpwnd_data->hWnd = nullptr;
  lpwnd_data->heditWnd = nullptr;
  lpwnd_data->hInstance = nullptr;
  lpwnd_data->lpCallBack = nullptr;
  lpwnd_data->wFlags = 0;
  lpwnd_data->cHelpFileName[0] = '\0';
  lpwnd_data->cHelpContext[0] = '\0';
  lpwnd_data->hExtraData = nullptr;
  lpwnd_data->lpExtraData = nullptr;
}
