// The command line's renderers: the model as text for people or as JSON for
// programs. They read only the model (src/smbios/model.h), never bytes.
#pragma once

#include <functional>
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
  // holds only a selection of it (-t, -H) or the structures come one at a
  // time, so that a handle field still names the type of a structure not
  // at hand; empty: the model's structures.
  std::vector<std::pair<uint16_t, uint8_t>> tableHandles;
};

class TextOut;

// The structures one at a time, for a front end that decodes each as it is
// shown (the memory stays that of one): each call gives the next, null
// after the last; a structure need only last until the next call.
using NextStructure = std::function<const DecodedStructure*()>;

// Text for an 80-column terminal: a heading per structure, aligned
// "field: value" rows, lists and bits indented, sizes in binary units.
std::string RenderText(const Model& model, const RenderOptions& options);
// The same appended to out (text_out.h), which may send it on as it fills.
void RenderText(const Model& model, const RenderOptions& options, TextOut* out);
// The same of head (a model without its structures) and count structures
// from next; options.tableHandles names every structure of the table.
void RenderText(const Model& head, size_t count, const NextStructure& next,
                const RenderOptions& options, TextOut* out);

// One JSON document (docs/syslens.schema.json), always valid UTF-8.
std::string RenderJson(const Model& model, const RenderOptions& options);
void RenderJson(const Model& model, const RenderOptions& options, TextOut* out);
void RenderJson(const Model& head, const NextStructure& next, const RenderOptions& options,
                TextOut* out);

// Firmware text made safe for a terminal: invalid UTF-8 repaired, control
// characters (C0, DEL, C1) turned into blanks.
std::string TerminalSafe(const std::string& text);

// The heading name of a structure's type.
std::string TypeNameOf(uint8_t type, const char* name);
