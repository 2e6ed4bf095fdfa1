// Which sink the running report goes to, and the module whose resources it
// reads. Set by the front end before a run (FillScreen), read by the
// decoders and the report library.
#pragma once

#include "platform.h"

// The program's module: its resources, its directory (the collector and the
// HTML codes lie beside it).
extern QHANDLE ghInst;
// Nonzero while the report goes to an edit control (own window or host's).
extern int bEdit;
// Nonzero while the report goes to the HTML file.
extern int bHTML;
// Nonzero while the report goes to the property file.
extern int bData;
