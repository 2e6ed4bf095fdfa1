#include "dump_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform.h"
#include "probex.h"

namespace {

void Append(std::vector<uint8_t>* out, const uint8_t* bytes, size_t count) {
  out->insert(out->end(), bytes, bytes + count);
}

std::string SystemError(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + strerror(errno);
}

}  // namespace

std::vector<uint8_t> EncodeDump(const DumpContent& content, std::vector<std::string>* warnings) {
  std::vector<ByteView> kept;
  size_t largest = 0;
  if (content.found) {
    for (const ByteView& s : content.structures) {
      if (s.size() > kLargestRecord) {
        warnings->push_back("a structure of type " + std::to_string(s.U8(0)) + " has " +
                            std::to_string(s.size()) +
                            " bytes, more than a dump record can hold; it is left out");
        continue;
      }
      kept.push_back(s);
      if (s.size() > largest) largest = s.size();
    }
  }

  CDMIFileHeader header;
  CDMIFileHeaderConstruct(&header);
  uint8_t headerBytes[kFileHeaderSize];
  EncodeFileHeader(header, headerBytes);

  CDMISummaryInfo summary;
  CDMISummaryInfoConstruct(&summary);
  summary.bSyslensFound = content.found ? 1 : 0;
  summary.m_bVersionMajor = content.found ? content.major : 0;
  summary.m_bVersionMinor = content.found ? content.minor : 0;
  // The viewer rejects a buffer size of 0 before it looks at bSyslensFound,
  // so a dump without structures still names a one-byte buffer.
  summary.m_dwDMIBufferSize = static_cast<uint16_t>(largest > 0 ? largest : 1);
  uint8_t summaryBytes[kSummaryInfoSize];
  EncodeSummaryInfo(summary, summaryBytes);

  std::vector<uint8_t> dump;
  Append(&dump, headerBytes, sizeof headerBytes);
  Append(&dump, summaryBytes, sizeof summaryBytes);
  for (const ByteView& s : kept) {
    uint8_t size[kStructureHeaderSize];
    StoreU32(size, 0, static_cast<uint32_t>(s.size()));
    Append(&dump, size, sizeof size);
    Append(&dump, s.data(), s.size());
  }
  return dump;
}

bool WriteDumpFile(const std::string& path, const std::vector<uint8_t>& dump, std::string* error) {
  if (dump.size() < kFileHeaderSize) {
    *error = "internal error: the dump has no header";
    return false;
  }
  // The viewer has made the file: one that is missing, a link or anything
  // but a regular file is not the viewer's, and is never created, followed
  // or written.
  FILE* file = PlatRewriteExistingFile(path.c_str());
  if (!file) {
    *error = SystemError("cannot open the dump file (an existing regular file)", path);
    return false;
  }
  // The data first, flushed, so that a dump is marked complete only when
  // every byte before the mark has reached the file.
  bool ok = fwrite(dump.data(), 1, dump.size(), file) == dump.size() && fflush(file) == 0;
  if (ok) {
    uint8_t mark[2];
    StoreU16(mark, 0, 1);
    ok = fseek(file, static_cast<long>(kWroteAllDataOffset), SEEK_SET) == 0 &&
         fwrite(mark, 1, sizeof mark, file) == sizeof mark && fflush(file) == 0;
  }
  if (!ok) *error = SystemError("cannot write the dump file", path);
  if (fclose(file) != 0 && ok) {
    *error = SystemError("cannot close the dump file", path);
    ok = false;
  }
  return ok;
}
