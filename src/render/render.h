// The command line's renderers: the model as text for people or as JSON for
// programs. They read only the model (src/smbios/model.h), never bytes.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model.h"

struct RenderOptions {
  // Add the raw formatted bytes and strings of every structure (-u); the
  // structures of undecoded types always show them.
  bool rawBytes = false;
  const char* programVersion = "";
  // The handle and type of every structure of the table when the model
  // holds only a selection of it (-t, -H), so that a handle field still
  // names the type of a structure left out; empty: the model's structures.
  std::vector<std::pair<uint16_t, uint8_t>> tableHandles;
};

class TextOut;

// Text for an 80-column terminal: a heading per structure, aligned
// "field: value" rows, lists and bits indented, sizes in binary units.
std::string RenderText(const Model& model, const RenderOptions& options);
// The same appended to out (text_out.h), which may send it on as it fills.
void RenderText(const Model& model, const RenderOptions& options, TextOut* out);

// One JSON document (docs/syslens.schema.json), always valid UTF-8.
std::string RenderJson(const Model& model, const RenderOptions& options);
void RenderJson(const Model& model, const RenderOptions& options, TextOut* out);

// Firmware text made safe for a terminal: invalid UTF-8 repaired, control
// characters (C0, DEL, C1) turned into blanks.
std::string TerminalSafe(const std::string& text);

// The heading name of a structure's type.
std::string TypeNameOf(uint8_t type, const char* name);
