#include "decoder_harness.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "dmi_frame.h"
#include "dump_reader.h"
#include "int_str.h"
#include "platform.h"
#include "qmrkw32.h"
#include "readdat.h"
#include "sink_state.h"
#ifndef _WIN32
#include "posix/edit_posix.h"
#endif

bool NoEditControl() {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

void WriteDmiDat(const std::string& path, const std::vector<std::string>& lines) {
  std::string out;
  const size_t keyLength = strlen(kDmiDatPassword);
  for (const std::string& line : lines) {
    for (size_t i = 0; i < line.size(); ++i) {
      out += static_cast<char>(static_cast<unsigned char>(line[i]) +
                               static_cast<unsigned char>(kDmiDatPassword[i % keyLength]));
    }
    out += '\n';
  }
  WriteBytes(path, Bytes(out.begin(), out.end()));
}

bool ReadDumpFile(const std::string& path) {
  FILE* in = fopen(path.c_str(), "rb");
  if (!in) return false;
  display_dmi_info(in);
  fclose(in);
  return true;
}

int DumpState::PrintBuffer(Bytes& buffer) {
  return DMI_Print_Structure(buffer.data(), dmi, static_cast<int>(buffer.size()));
}

int DumpState::Print(const Bytes& structure, size_t capacity) {
  Bytes buffer(structure);
  if (capacity > buffer.size()) buffer.resize(capacity, 0xEE);
  return PrintBuffer(buffer);
}

void DumpState::Finish() {
  if (dmi.portTableOpen) FinishProcessingPortConnInfoStructs(dmi);
  if (dmi.slotTableOpen) FinishProcessingSystemSlotStructs(dmi);
}

bool DecoderHarness::Start() {
  ResetReportState();
  InitLanguagesEx(PlatProgramModule(), 0);
  return true;
}

bool DecoderHarness::Start(const std::vector<std::string>& dmiDat) {
  Start();
  char cwd[4096];
  if (!getcwd(cwd, sizeof cwd)) return false;
  if (chdir(dir.path.c_str()) != 0) return false;
  oldDir_ = cwd;
  WriteDmiDat("DMI.DAT", dmiDat);
  return true;
}

bool DecoderHarness::Stop() {
  ResetReportState();
  InitLanguagesEx(PlatProgramModule(), 0);
  if (oldDir_.empty()) return true;
  const bool back = chdir(oldDir_.c_str()) == 0;
  oldDir_.clear();
  return back;
}

std::string DecoderHarness::Run(Sink sink, const std::function<void()>& body) {
  ResetReportState();
  const std::string file = dir.File(sink == Sink::kIni ? "out.ini" : "out.htm");
  remove(file.c_str());
  snprintf(wnd_data.szOutputFile, sizeof wnd_data.szOutputFile, "%s", file.c_str());
  switch (sink) {
    case Sink::kText: {
#ifdef _WIN32
      return noEditControlText;
#else
      EditControl edit;
      bEdit = 1;
      wnd_data.heditWnd = &edit;
      body();
      wnd_data.heditWnd = nullptr;
      return edit.text;
#endif
    }
    case Sink::kHtml:
      bHTML = 1;
      wnd_data.iHTMLOutput = 1;
      break;
    case Sink::kIni: bData = 1; break;
  }
  body();
  CloseReportFiles();
  return ReadText(file);
}

std::string DecoderHarness::Property(const std::string& key) const {
  const std::string text = "\r\n" + ReadText(dir.File("out.ini"));
  const std::string start = "\r\n" + key + "=";
  const size_t at = text.find(start);
  if (at == std::string::npos) return "<none>";
  const size_t from = at + start.size();
  return text.substr(from, text.find("\r\n", from) - from);
}
