// Whole reports that the decoder tests expect are kept in files
// (src/core/testdata), byte for byte as a sink writes them: CR LF line ends,
// TABs and trailing blanks included. Rule tables of cases stay in the tests.
#pragma once

#include <string>

// The expected report in testdata file name. When the file cannot be read,
// a text that no sink writes, so the comparison fails and names the file.
std::string ExpectedReport(const std::string& name);
