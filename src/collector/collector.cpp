#include "collector.h"

#include <cerrno>
#include <cstring>

#include "dump_writer.h"
#include "platform.h"
#include "smbios_table.h"
#include "table_sources.h"

namespace {

void Say(FILE* messages, const std::string& text) {
  if (messages) fprintf(messages, "probex: %s\n", text.c_str());
}

void SayAll(FILE* messages, const std::string& origin, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) Say(messages, origin + ": " + line);
}

int WriteDump(const CollectorSettings& settings, const DumpContent& content) {
  std::vector<std::string> warnings;
  const std::vector<uint8_t> dump = EncodeDump(content, &warnings);
  SayAll(settings.messages, "warning", warnings);
  std::string error;
  if (!WriteDumpFile(settings.dumpPath, dump, &error)) {
    Say(settings.messages, error);
    return kExitDumpNotWritten;
  }
  return kExitComplete;
}

// Walks the table and writes its structures. A saved table is taken as the
// machine's own: the structures before a break are reported, with a warning
// that says where it broke, and the exit code says the dump holds only part.
// A table that breaks in its first structure has nothing to show: failure.
int ReportTable(const CollectorSettings& settings, const std::string& origin,
                const SmbiosTable& table, int failure) {
  const TableWalk walk = WalkTable(table.table);
  const bool broken = WalkStoppedAtFault(walk);
  // A table cut by the end of its data may have lost whole structures, even
  // when the cut falls between two: without its end-of-table structure it
  // cannot pass for whole.
  const bool cut = table.cutByData && (broken || walk.stop == WalkStop::kTableEnd);
  std::string where = DescribeWalkStop(walk);
  if (cut && !broken) {
    where = "no end-of-table structure before the end of the data at table offset " +
            std::to_string(walk.stopOffset);
  }
  if (cut) where = "the table is cut short: " + where;
  if (walk.structures.empty()) {
    Say(settings.messages, origin + ": " +
                               (broken || cut ? (cut ? "" : "the table is broken: ") + where
                                              : "the table holds no readable structure"));
    return failure;
  }
  if (broken || cut) {
    Say(settings.messages, origin + ": warning: " + where + "; the " +
                               std::to_string(walk.structures.size()) +
                               " structures before it are reported");
  }
  DumpContent content;
  content.found = true;
  content.major = table.major;
  content.minor = table.minor;
  content.structures = walk.structures;
  const int written = WriteDump(settings, content);
  return written == kExitComplete && (broken || cut) ? kExitReportedUpToBreak : written;
}

int FromSavedTable(const CollectorSettings& settings) {
  const std::string& path = settings.savedTablePath;
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, kLargestTableFile, &bytes, &error, nullptr)) {
    Say(settings.messages, std::string(kSavedTableVariable) + ": " + error);
    return kExitSavedTableBad;
  }
  SmbiosTable table;
  Diagnostics diag;
  const char* version =
      settings.bareTableVersion.empty() ? nullptr : settings.bareTableVersion.c_str();
  const bool ok = TableFromSavedFile(ByteView(bytes.data(), bytes.size()), version, &table, &diag);
  SayAll(settings.messages, path + ": warning", diag.warnings);
  if (!ok) {
    Say(settings.messages, path + ": " + diag.error);
    return kExitSavedTableBad;
  }
  return ReportTable(settings, path, table, kExitSavedTableBad);
}

int FromFirmware(const CollectorSettings& settings) {
  const FirmwareTables firmware =
      settings.readFirmware ? settings.readFirmware() : FirmwareTables{};
  if (firmware.state == FirmwareTables::State::kAbsent) {
    // No tables at all: the viewer reports "no DMI BIOS".
    return WriteDump(settings, DumpContent{});
  }
  if (firmware.state == FirmwareTables::State::kUnreadable) {
    Say(settings.messages,
        firmware.error + " (set " + kSavedTableVariable + " to report a saved table instead)");
    return kExitFirmwareBad;
  }
  SmbiosTable table;
  Diagnostics diag;
  const ByteView data(firmware.table.data(), firmware.table.size());
  const bool ok = firmware.form == FirmwareTables::Form::kRawSmbiosData
                      ? TableFromRawSmbiosData(data, &table, &diag)
                      : TableFromEntryPointAndData(
                            ByteView(firmware.entryPoint.data(), firmware.entryPoint.size()), data,
                            &table, &diag);
  SayAll(settings.messages, firmware.origin + ": warning", diag.warnings);
  if (!ok) {
    Say(settings.messages, firmware.origin + ": " + diag.error);
    return kExitFirmwareBad;
  }
  return ReportTable(settings, firmware.origin, table, kExitFirmwareBad);
}

}  // namespace

int RunCollector(const CollectorSettings& settings) {
  if (settings.dumpPath.empty()) {
    Say(settings.messages, "usage: probex <dump file>");
    return kExitUsage;
  }
  if (settings.savedTableSet && settings.savedTablePath.empty()) {
    // Set but empty is a mistake, not a request for the firmware.
    Say(settings.messages, std::string(kSavedTableVariable) +
                               " is set but empty: name a saved table file, or unset it");
    return kExitSavedTableBad;
  }
  if (!settings.savedTablePath.empty()) return FromSavedTable(settings);
  return FromFirmware(settings);
}

std::string ChooseDumpPath(const std::string& commandLine, const std::string& fallback,
                           bool (*exists)(const std::string& path)) {
  for (size_t blank = commandLine.find(' '); blank != std::string::npos;
       blank = commandLine.find(' ', blank + 1)) {
    const std::string candidate = commandLine.substr(blank + 1);
    if (!candidate.empty() && exists(candidate)) return candidate;
  }
  return fallback;
}

bool FileExists(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  fclose(file);
  return true;
}
