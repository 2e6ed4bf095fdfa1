#include "collector.h"

#include <cerrno>
#include <cstring>

#include "dump_writer.h"
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

// How a broken structure inside the table is taken.
enum class Faults {
  // A saved table is a copy: a broken structure means a damaged copy, and
  // reporting part of it as the machine's table would mislead.
  kRefuse,
  // The machine's own firmware table is the only one there is: what
  // precedes the broken structure is reported, as other SMBIOS tools do.
  kReportWhatPrecedes,
};

// Walks the table and writes its structures; failure exit code for unusable
// tables.
int ReportTable(const CollectorSettings& settings, const std::string& origin,
                const SmbiosTable& table, Faults faults, int failure) {
  const TableWalk walk = WalkTable(table.table);
  if (WalkStoppedAtFault(walk)) {
    // A table cut by the end of its data is a truncated copy, not a firmware
    // quirk, whatever its source.
    if (faults == Faults::kRefuse || table.cutByData) {
      Say(settings.messages, origin + (table.cutByData ? ": the table is cut short: "
                                                       : ": the table is broken: ") +
                                 DescribeWalkStop(walk));
      return failure;
    }
    Say(settings.messages, origin + ": warning: " + DescribeWalkStop(walk) + "; " +
                               std::to_string(walk.structures.size()) +
                               " structures before it are reported");
  }
  if (walk.structures.empty()) {
    Say(settings.messages, origin + ": the table holds no readable structure");
    return failure;
  }
  DumpContent content;
  content.found = true;
  content.major = table.major;
  content.minor = table.minor;
  content.structures = walk.structures;
  return WriteDump(settings, content);
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
  return ReportTable(settings, path, table, Faults::kRefuse, kExitSavedTableBad);
}

int FromFirmware(const CollectorSettings& settings) {
  const FirmwareTables firmware =
      settings.readFirmware ? settings.readFirmware() : FirmwareTables{};
  if (firmware.state == FirmwareTables::State::kAbsent) {
    // No tables at all: the viewer reports "no DMI BIOS".
    return WriteDump(settings, DumpContent{});
  }
  if (firmware.state == FirmwareTables::State::kUnreadable) {
    Say(settings.messages, firmware.error + " (set " + kSavedTableVariable +
                               " to report a saved table instead)");
    return kExitFirmwareBad;
  }
  SmbiosTable table;
  Diagnostics diag;
  const ByteView data(firmware.table.data(), firmware.table.size());
  const bool ok =
      firmware.form == FirmwareTables::Form::kRawSmbiosData
          ? TableFromRawSmbiosData(data, &table, &diag)
          : TableFromEntryPointAndData(
                ByteView(firmware.entryPoint.data(), firmware.entryPoint.size()), data, &table,
                &diag);
  SayAll(settings.messages, firmware.origin + ": warning", diag.warnings);
  if (!ok) {
    Say(settings.messages, firmware.origin + ": " + diag.error);
    return kExitFirmwareBad;
  }
  return ReportTable(settings, firmware.origin, table, Faults::kReportWhatPrecedes,
                     kExitFirmwareBad);
}

}  // namespace

int RunCollector(const CollectorSettings& settings) {
  if (settings.dumpPath.empty()) {
    Say(settings.messages, "usage: probex <dump file>");
    return kExitUsage;
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
