// The -s keywords: one value of the model per matching structure, printed
// as the established SMBIOS tool prints it, so that scripts can switch
// tools (chassis-type and processor-family print our names).
#pragma once

#include <string>
#include <vector>

#include "model.h"

// The lines -s KEYWORD prints for the model; false when the keyword is not
// known.
bool KeywordLines(const Model& model, const std::string& keyword, std::vector<std::string>* lines);

// Every keyword, one a line.
std::string KeywordList();
