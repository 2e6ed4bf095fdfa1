#include "sink_state.h"

QHANDLE ghInst = nullptr;
int bEdit = 0;
int bHTML = 0;
int bData = 0;
