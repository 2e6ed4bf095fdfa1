// Encoding of report text on POSIX: the narrow encoding is UTF-8, so making
// text valid UTF-8 serves the HTML report, the property file and the window
// text alike.
#include "platform.h"
#include "utf8.h"

std::string PlatTextToUtf8(std::string_view text) { return ValidUtf8(text); }

std::string PlatValidNarrowText(std::string_view text) { return ValidUtf8(text); }
