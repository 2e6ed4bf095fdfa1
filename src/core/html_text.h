// Text of the HTML report: what a text between mark-up may hold.
#pragma once

#include <string>
#include <string_view>

// UTF-8 text made safe as HTML text content: & < > " become entities, so
// firmware strings cannot open elements or attributes; bytes that start no
// well-formed UTF-8 sequence become U+FFFD; characters HTML forbids in text
// are replaced: control characters (C0 other than TAB, LF, FF and CR; DEL;
// C1) by a blank, noncharacters (U+FDD0 to U+FDEF, U+xFFFE and U+xFFFF) by
// U+FFFD.
std::string HtmlEscapedText(std::string_view utf8);
