// The run sequence: prepare the sink, start the collector into a temporary
// dump, read the dump, remove it, close the sink.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

// The sinks' frame around one decode (the part of FillScreen that does not
// start the collector, shared with the benchmark): tab stops and no redraw
// for window text, the HTML page's head written out before decode runs and
// its foot after, and the report files closed, which completes them.
void ReportIntoSinks(const std::function<void()>& decode);
// The whole run into the sink that bEdit, bHTML or bData selects.
void FillScreen();
// Collector, dump and report; 1 when a report was shown.
int dmi_info();
// The dump file is made open for reading (*input); the collector writes it
// by name, the viewer reads it through *input.
int RunPROBEX(char (&szDumpPath)[260], FILE** input);
int GetTempFilePath(const char* szRoot, char (&szTempPath)[260], FILE** file);
// Starts program with its one argument and waits for it.
int TimedProcess(const char* program, const char* argument, uint32_t dwTimeout,
                 uint32_t* pdwProcessExitCode);
