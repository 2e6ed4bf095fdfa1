#include "table_file.h"

#include <cstring>

#include "probex.h"
#include "smbios_table.h"

namespace {

bool IsProbexDump(ByteView bytes) {
  const size_t size = strlen(kDumpDescription);
  return bytes.Has(0, kFileHeaderSize + kSummaryInfoSize) &&
         memcmp(bytes.data(), kDumpDescription, size) == 0;
}

// The viewer's dump holds the structures as records (a 32-bit size, then
// the structure with its strings); laid end to end they are the table.
bool TableFromProbexDump(TableSource* source) {
  const ByteView file(source->bytes.data(), source->bytes.size());
  const size_t summary = kFileHeaderSize;
  if (file.U16(summary) == 0) {
    source->failure = TableSource::Failure::kAbsent;
    source->error = source->path + ": the dump says the machine has no SMBIOS table";
    return false;
  }
  std::vector<uint8_t> table;
  size_t at = kFileHeaderSize + kSummaryInfoSize;
  while (file.Has(at, kStructureHeaderSize)) {
    const uint32_t size = file.U32(at);
    const ByteView record = file.Slice(at + kStructureHeaderSize, size);
    if (record.size() != size || size == 0) {
      source->warnings.push_back("the dump's record at offset " + std::to_string(at) +
                                 " is cut short; the structures before it are kept");
      break;
    }
    table.insert(table.end(), record.data(), record.data() + record.size());
    at += kStructureHeaderSize + size;
  }
  if (file.U16(50 + 2) == 0) source->warnings.push_back("the dump is not marked complete");
  source->table.major = file.U8(summary + 2);
  source->table.minor = file.U8(summary + 3);
  source->bytes = std::move(table);
  source->table.table = ByteView(source->bytes.data(), source->bytes.size());
  return true;
}

void Fail(TableSource* source, TableSource::Failure failure, const std::string& error) {
  source->failure = failure;
  source->error = error;
}

}  // namespace

void LoadTableFile(const std::string& path, const char* bareVersion, TableSource* source) {
  source->path = path;
  std::string error;
  bool missing = false;
  if (!ReadWholeFile(path, kLargestTableFile, &source->bytes, &error, &missing)) {
    Fail(source, missing ? TableSource::Failure::kAbsent : TableSource::Failure::kUnreadable,
         error);
    return;
  }
  const ByteView file(source->bytes.data(), source->bytes.size());
  if (IsProbexDump(file)) {
    source->kind = "probex-dump";
    TableFromProbexDump(source);
    return;
  }
  Diagnostics diag;
  if (!TableFromSavedFile(file, bareVersion, &source->table, &diag)) {
    Fail(source, TableSource::Failure::kUnusable,
         path + ": " + diag.error +
             (bareVersion ? "" : " (for a bare table, give its version with --table-version)"));
    return;
  }
  source->warnings = diag.warnings;
  Diagnostics quiet;
  source->haveEntryPoint = ParseEntryPoint(file, &source->entryPoint, &quiet);
  source->kind = source->haveEntryPoint ? "dmidecode-dump" : "bare-table";
}

void LoadFirmwareTable(FirmwareReader read, TableSource* source) {
  FirmwareTables firmware = read();
  source->path = firmware.origin;
  source->kind = firmware.form == FirmwareTables::Form::kRawSmbiosData ? "rsmb" : "sysfs";
  if (firmware.state == FirmwareTables::State::kAbsent) {
    Fail(source, TableSource::Failure::kAbsent,
         "this machine shows no SMBIOS table (" + firmware.origin +
             " is missing); use --from-dump FILE to read a saved one");
    return;
  }
  if (firmware.state == FirmwareTables::State::kUnreadable) {
    Fail(source, TableSource::Failure::kUnreadable,
         "the SMBIOS table exists but cannot be read: " + firmware.error +
             " (run as root/administrator, or use --from-dump FILE)");
    return;
  }
  Diagnostics diag;
  source->bytes = std::move(firmware.table);
  const ByteView data(source->bytes.data(), source->bytes.size());
  bool ok = false;
  if (firmware.form == FirmwareTables::Form::kRawSmbiosData) {
    ok = TableFromRawSmbiosData(data, &source->table, &diag);
  } else {
    const ByteView entry(firmware.entryPoint.data(), firmware.entryPoint.size());
    ok = TableFromEntryPointAndData(entry, data, &source->table, &diag);
    Diagnostics quiet;
    source->haveEntryPoint = ParseEntryPoint(entry, &source->entryPoint, &quiet);
  }
  source->warnings = diag.warnings;
  if (!ok) Fail(source, TableSource::Failure::kUnusable, firmware.origin + ": " + diag.error);
}

Model DescribeTable(const TableSource& source, TableWalk* walkOut) {
  Model model;
  model.sourceKind = source.kind;
  model.sourcePath = source.path;
  model.haveEntryPoint = source.haveEntryPoint;
  if (source.haveEntryPoint) {
    const SmbiosEntryPoint& entry = source.entryPoint;
    model.entryMajor = entry.kind == EntryPointKind::kSmbios3 ? 3 : 2;
    model.docrev = entry.docrev;
    model.tableLength = entry.tableLength;
    model.structureCount = entry.structureCount;
  }
  model.major = source.table.major;
  model.minor = source.table.minor;
  model.warnings = source.warnings;
  const ByteView table = source.table.table;
  TableWalk& walk = *walkOut;
  walk = WalkTable(table);
  model.partial = WalkStoppedAtFault(walk);
  if (model.partial)
    model.warnings.push_back(DescribeWalkStop(walk) + "; the " +
                             std::to_string(walk.structures.size()) +
                             " structures before it are kept");
  if (source.haveEntryPoint && source.entryPoint.kind == EntryPointKind::kSmbios2 &&
      source.entryPoint.structureCount != walk.structures.size() && !WalkStoppedAtFault(walk))
    model.warnings.push_back(
        "the entry point announces " + std::to_string(source.entryPoint.structureCount) +
        " structures, the table holds " + std::to_string(walk.structures.size()));
  return model;
}

Model BuildModel(const TableSource& source) {
  TableWalk walk;
  Model model = DescribeTable(source, &walk);
  const ByteView table = source.table.table;
  model.structures.reserve(walk.structures.size());
  for (const ByteView& s : walk.structures)
    model.structures.push_back(
        DecodeStructure(s, static_cast<size_t>(s.data() - table.data()), model.major, model.minor));
  return model;
}
