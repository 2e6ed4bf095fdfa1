#include "dump_builder.h"

#include <algorithm>
#include <cstdio>

#include "probex.h"

void PutU8(Bytes& out, uint8_t value) { out.push_back(value); }

void PutU16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutU64(Bytes& out, uint64_t value) {
  PutU32(out, static_cast<uint32_t>(value));
  PutU32(out, static_cast<uint32_t>(value >> 32));
}

Bytes Structure(uint8_t type, uint16_t handle, const Bytes& fields,
                const std::vector<std::string>& strings, int length) {
  Bytes out{type, static_cast<uint8_t>(length >= 0 ? length : 4 + fields.size())};
  PutU16(out, handle);
  out.insert(out.end(), fields.begin(), fields.end());
  for (const std::string& s : strings) {
    out.insert(out.end(), s.begin(), s.end());
    out.push_back(0);
  }
  if (strings.empty()) out.push_back(0);
  out.push_back(0);
  return out;
}

Bytes Dump(const DumpOptions& options, const std::vector<Bytes>& structures) {
  CDMIFileHeader header;
  CDMIFileHeaderConstruct(&header);
  header.m_bWroteAllData = options.wroteAllData;
  CDMISummaryInfo summary;
  CDMISummaryInfoConstruct(&summary);
  summary.bSyslensFound = options.found;
  summary.m_bVersionMajor = options.major;
  summary.m_bVersionMinor = options.minor;
  size_t largest = 0;
  for (const Bytes& s : structures) largest = std::max(largest, s.size());
  summary.m_dwDMIBufferSize =
      options.bufferSize ? options.bufferSize : static_cast<uint16_t>(std::max<size_t>(largest, 1));

  uint8_t headerBytes[kFileHeaderSize];
  EncodeFileHeader(header, headerBytes);
  uint8_t summaryBytes[kSummaryInfoSize];
  EncodeSummaryInfo(summary, summaryBytes);
  Bytes out(headerBytes, headerBytes + sizeof headerBytes);
  out.insert(out.end(), summaryBytes, summaryBytes + sizeof summaryBytes);
  for (const Bytes& s : structures) {
    PutU32(out, static_cast<uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
  }
  return out;
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && ok;
}

Bytes ReadBytes(const std::string& path) {
  Bytes out;
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return out;
  uint8_t chunk[4096];
  size_t n;
  while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) out.insert(out.end(), chunk, chunk + n);
  fclose(file);
  return out;
}

std::string ReadText(const std::string& path) {
  const Bytes bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}
