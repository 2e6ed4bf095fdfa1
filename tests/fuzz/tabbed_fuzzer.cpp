// The tabbed-line cell cutter and the HTML table vocabulary. The first byte
// picks the cell limit and the table's shape; the rest, cut at NULs, gives
// the heading lines and the rows.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "decoder_harness.h"
#include "qmrkw32.h"
#include "tabbed_cells.h"

namespace {

std::vector<std::string> SplitAtNul(const uint8_t* data, size_t size) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < size && parts.size() <= 64; ++i) {
    if (data[i] == 0) {
      parts.emplace_back();
    } else {
      parts.back() += static_cast<char>(data[i]);
    }
  }
  return parts;
}

void CutCells(const std::string& line, int maxCells) {
  std::vector<char> text(line.begin(), line.end());
  text.push_back('\0');
  std::vector<char*> cells(static_cast<size_t>(maxCells));
  const int rows = CutRowCells(text.data(), cells.data(), maxCells);
  for (int i = 0; i < rows; ++i) (void)strlen(cells[static_cast<size_t>(i)]);
  std::vector<char> again(line.begin(), line.end());
  again.push_back('\0');
  const int headings = CutHeadingCells(again.data(), cells.data(), maxCells);
  for (int i = 0; i < headings; ++i) (void)strlen(cells[static_cast<size_t>(i)]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static DecoderHarness* harness = [] {
    DecoderHarness* h = new DecoderHarness;
    h->Start();
    return h;
  }();
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  const int maxCells = 1 + mode % kMaxTableCells;
  const std::vector<std::string> parts = SplitAtNul(data + 1, size - 1);
  for (const std::string& part : parts) CutCells(part, maxCells);

  const Sink sink = (mode & 0x80) ? Sink::kText : Sink::kHtml;
  harness->Run(sink, [&] {
    size_t next = 0;
    if (mode & 0x40) {
      const std::string line1 = parts[0];
      const std::string line2 = parts.size() > 1 ? parts[1] : std::string();
      next = 2;
      if (mode & 0x20) {
        QMRKBeginTableTabbedTwoLine2(&wnd_data, line1.c_str(), line2.c_str());
      } else {
        QMRKBeginTableTabbedTwoLine(&wnd_data, line1.c_str(), line2.c_str());
      }
    }
    for (size_t i = next; i < parts.size(); ++i) {
      if (mode & 0x20) {
        QMRKAddTabbedTableEntryNoDupTabs(&wnd_data, parts[i].c_str());
      } else {
        QMRKAddTabbedTableEntry(&wnd_data, parts[i].c_str());
      }
    }
    QMRKEndTable(&wnd_data);
  });
  ResetReportState();
  return 0;
}
