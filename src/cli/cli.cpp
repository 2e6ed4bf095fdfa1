#include "cli.h"

#include <cerrno>
#include <cstring>

#include "dmi_id.h"
#include "dump_bin.h"
#include "keywords.h"
#include "mask.h"
#include "options.h"
#include "platform.h"
#include "render.h"
#include "table_file.h"
#include "text_out.h"
#include "values.h"

namespace {

void Say(FILE* err, const std::string& line) { fprintf(err, "syslens: %s\n", line.c_str()); }

// The whole output in one write (terminals and pipes take it in large
// pieces).
int Write(FILE* out, const std::string& text) {
  if (!text.empty() && fwrite(text.data(), 1, text.size(), out) != text.size()) return kCliNoTable;
  return fflush(out) == 0 ? kCliDone : kCliNoTable;
}

std::string TypeList() {
  std::string out = "Structure types:\n";
  char line[16];
  const ValueSection types = FindValueSection("SMBIOSTYPES");
  for (size_t i = 0; i < types.count; ++i) {
    snprintf(line, sizeof line, "%5u  ", types.rows[i].code);
    out += line;
    out += ValueRowName(types.rows[i]);
    out += '\n';
  }
  return out + "\nKeywords of -t:\n" + TypeKeywordList();
}

bool Selected(const CliOptions& options, uint8_t type, uint16_t handle) {
  if (options.anyType && !options.types[type]) return false;
  if (options.handles.empty()) return true;
  for (uint16_t h : options.handles)
    if (h == handle) return true;
  return false;
}

// The table as read (a partial one whole, so that a bug report carries the
// bytes after the break too), as a new file.
int SaveTable(const std::string& path, const TableSource& source, ByteView table, FILE* out,
              FILE* err) {
  const std::vector<uint8_t> dump = MakeDmidecodeDump(source, table);
  const int error = PlatPublishNewFile(
      path.c_str(), std::string_view(reinterpret_cast<const char*>(dump.data()), dump.size()));
  if (error == EEXIST) {
    Say(err, path + " exists already: give --dump-bin a new file name");
    return kCliNoTable;
  }
  if (error != 0) {
    Say(err, "cannot write " + path + ": " + strerror(error));
    return kCliNoTable;
  }
  return Write(out, path + ": " + std::to_string(dump.size()) + " bytes, the table at offset " +
                        std::to_string(kDumpTableOffset) + "\n");
}

// Text, JSON or the -s lines of the model.
int Show(const CliOptions& options, Model& model, FILE* out, FILE* err) {
  if (!options.keyword.empty()) {
    std::vector<std::string> lines;
    KeywordLines(model, options.keyword, &lines);
    if (lines.empty() && model.sourceKind == "sysfs-id") {
      Say(err, model.sourcePath + " does not show " + options.keyword +
                   " (as root, the whole table does)");
      return kCliNoTable;
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return Write(out, text);
  }
  RenderOptions render;
  if (options.anyType || !options.handles.empty()) {
    for (const DecodedStructure& s : model.structures)
      render.tableHandles.emplace_back(s.handle, s.type);
    std::vector<DecodedStructure> kept;
    for (DecodedStructure& s : model.structures)
      if (Selected(options, s.type, s.handle)) kept.push_back(std::move(s));
    model.structures = std::move(kept);
  }
  render.rawBytes = options.rawBytes;
  render.programVersion = kCliVersion;
  // Straight to the output in large pieces: the report of a large table is
  // never held whole.
  TextOut text(out);
  if (options.json) RenderJson(model, render, &text);
  else RenderText(model, render, &text);
  return text.Finish() ? kCliDone : kCliNoTable;
}

// Text or JSON of the table's structures (the bytes of walk, in table),
// each decoded as it is shown and its room reused for the next: the model
// is never held whole. head is the model without its structures.
int ShowTable(const CliOptions& options, const Model& head, ByteView table, const TableWalk& walk,
              FILE* out) {
  RenderOptions render;
  render.rawBytes = options.rawBytes;
  render.programVersion = kCliVersion;
  render.tableHandles.reserve(walk.structures.size());
  size_t count = 0;
  for (const ByteView& s : walk.structures) {
    render.tableHandles.emplace_back(s.U16(2), s.U8(0));
    count += Selected(options, s.U8(0), s.U16(2));
  }
  DecodedStructure decoded;
  size_t next = 0;
  const NextStructure nextSelected = [&]() -> const DecodedStructure* {
    for (; next < walk.structures.size(); ++next) {
      const ByteView s = walk.structures[next];
      if (!Selected(options, s.U8(0), s.U16(2))) continue;
      DecodeStructureInto(s, static_cast<size_t>(s.data() - table.data()), head.major, head.minor,
                          &decoded);
      ++next;
      return &decoded;
    }
    return nullptr;
  };
  TextOut text(out);
  if (options.json) RenderJson(head, nextSelected, render, &text);
  else RenderText(head, count, nextSelected, render, &text);
  return text.Finish() ? kCliDone : kCliNoTable;
}

// The partial model of /sys/class/dmi/id has no table to mask: its values
// are masked in place, by the same list.
void MaskDmiIdModel(Model* model) {
  for (DecodedStructure& s : model->structures)
    for (Field& field : s.fields)
      for (size_t i = 0; i < kMaskedFieldCount; ++i) {
        FieldValue& v = field.value;
        if (kMaskedFields[i].type != s.type || std::string(kMaskedFields[i].name) != field.name)
          continue;
        if (v.kind == FieldValue::Kind::kText) {  // the UUID: all zeros or ones stay
          if (v.text.find_first_not_of("0-") != std::string::npos &&
              v.text.find_first_not_of("fF-") != std::string::npos)
            v.text = std::string(kMaskedUuid);
        } else if (!IsPlaceholderText(v.text)) {
          v.text = kMaskMarker;
          if (v.number >= 1 && v.number <= s.strings.size()) s.strings[v.number - 1] = v.text;
        }
      }
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& args, FirmwareReader read, FILE* out,
                   FILE* err) {
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, &options, &error)) {
    Say(err, error);
    return kCliBadUsage;
  }
  if (options.help) return Write(out, kCliUsage);
  if (options.version) return Write(out, std::string("syslens ") + kCliVersion + "\n");
  if (options.listStrings) return Write(out, KeywordList());
  if (options.listTypes) return Write(out, TypeList());
  std::vector<std::string> probe;
  if (!options.keyword.empty() && !KeywordLines(Model{}, options.keyword, &probe)) {
    Say(err, "unknown keyword '" + options.keyword + "' for -s (see --list-strings)");
    return kCliBadUsage;
  }
  if (!options.tableVersion.empty() && options.dumpPath.empty()) {
    Say(err, "--table-version goes with --from-dump FILE (a bare table)");
    return kCliBadUsage;
  }

  TableSource source;
  if (options.dumpPath.empty()) {
    LoadFirmwareTable(read, &source);
  } else {
    LoadTableFile(options.dumpPath,
                  options.tableVersion.empty() ? nullptr : options.tableVersion.c_str(), &source);
  }
  Model model;
  const bool fromDmiId = source.failure == TableSource::Failure::kUnreadable &&
                         options.dumpPath.empty() && options.dumpBinPath.empty() &&
                         ModelFromDmiId(SysfsRoot() + "/class/dmi/id", &model);
  if (fromDmiId) {
    if (!options.quiet)
      Say(err, "note: a partial report from " + model.sourcePath +
                   "; as root, the whole table of " + source.path);
    if (options.mask) MaskDmiIdModel(&model);
    return Show(options, model, out, err);
  }
  if (source.failure != TableSource::Failure::kNone) {
    Say(err, source.error);
    return kCliNoTable;
  }
  TableWalk walk;
  model = DescribeTable(source, &walk);
  if (walk.structures.empty()) {
    Say(err, source.path + ": the table holds no readable structure");
    return kCliNoTable;
  }
  // Masked, the model is the masked table's, with the original's account
  // of where it broke (masking drops the bytes past a break).
  const ByteView original = source.table.table;
  std::vector<uint8_t> masked;
  if (options.mask) {
    masked = MaskTable(original, source.table.major, source.table.minor);
    source.table.table = ByteView(masked.data(), masked.size());
    Model hidden = DescribeTable(source, &walk);
    hidden.partial = model.partial;
    hidden.warnings = model.warnings;
    model = std::move(hidden);
  }
  // Warnings go to standard error with text and -s (the output stays the
  // report), and into the document with JSON.
  if (!options.quiet && !options.json)
    for (const std::string& warning : model.warnings) Say(err, "warning: " + warning);

  if (!options.dumpBinPath.empty())
    return SaveTable(options.dumpBinPath, source, source.table.table, out, err);
  if (!options.keyword.empty()) {
    Model whole = BuildModel(source);
    whole.partial = model.partial;
    whole.warnings = model.warnings;
    return Show(options, whole, out, err);
  }
  return ShowTable(options, model, source.table.table, walk, out);
}
