// The viewer on Windows: a GUI program started by the host with one
// parameter string. Declared without <windows.h>: the handles are opaque here.
#include "invocation.h"

extern "C" int QMRK_STDCALL WinMain(QHANDLE hInstance, QHANDLE /*hPrevInstance*/,
                                    char* lpszCmdParam, int nCmdShow) {
  return SyslensMain(hInstance, lpszCmdParam, nCmdShow);
}
