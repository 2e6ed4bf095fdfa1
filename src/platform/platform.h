// The one seam between the portable core and the operating system.
//
// The core (dump reader, decoder, report library, sinks, strings) calls only
// what is declared here. platform/win32/ wraps the real Win32 API;
// platform/posix/ emulates the same behaviour on Linux. Nothing above this
// header includes <windows.h> or POSIX headers.
//
// Texts are NUL-terminated, in the program's narrow encoding (the ANSI code
// page on Windows, UTF-8 on POSIX). Sizes count bytes including the NUL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// Opaque handle of a window, edit control, module, process, font or brush.
// Win32 handles fit in it as they are; POSIX gives it its own meaning.
using QHANDLE = void*;

// Win32's standard calling convention (callee pops), for procedures that the
// system or another module calls: window procedures, callbacks, exports.
#if defined(_WIN32) && !defined(_WIN64)
#define QMRK_STDCALL __attribute__((stdcall))
#else
#define QMRK_STDCALL
#endif

// Win32's STILL_ACTIVE: the exit code of a process that has not ended.
constexpr uint32_t kStillActive = 259;
// Win32's INFINITE wait.
constexpr uint32_t kInfinite = 0xFFFFFFFFu;
constexpr size_t kMaxPath = 260;

// ---- User profile (win.ini) ----------------------------------------------
int PlatGetProfileInt(const char* section, const char* key, int defaultValue);
// Copies the value (or defaultValue) into out, cut to size-1 characters;
// returns the number of characters copied.
unsigned PlatGetProfileString(const char* section, const char* key, const char* defaultValue,
                              char* out, unsigned size);
bool PlatWriteProfileString(const char* section, const char* key, const char* value);

// ---- Private-profile (INI) files -----------------------------------------
// Same contract as the profile calls, on the named file.
unsigned PlatGetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                     char* out, unsigned size, const char* file);
// Creates the file and section when missing, replaces an existing key in
// place and keeps every other line. A null value deletes the key.
bool PlatWritePrivateProfileString(const char* section, const char* key, const char* value,
                                   const char* file);

// ---- Files and paths -----------------------------------------------------
bool PlatDeleteFile(const char* path);
// What tells one state of a file from another: its size, its times of last
// change and its identity where the system has one. Equal stamps mean the
// file was not rewritten in between (to the resolution of the file system's
// clock).
struct PlatFileStamp {
  uint64_t size = 0;
  int64_t modified = 0;
  int64_t changed = 0;
  uint64_t identity = 0;
};
inline bool operator==(const PlatFileStamp& a, const PlatFileStamp& b) {
  return a.size == b.size && a.modified == b.modified && a.changed == b.changed &&
         a.identity == b.identity;
}
// False when the file does not exist or cannot be examined.
bool PlatGetFileStamp(const char* path, PlatFileStamp* stamp);
// Replaces a file's whole content, or creates the file: written beside it
// and renamed over it, so that the old content or the new is there, never
// a part. False when it cannot be written.
bool PlatReplaceFile(const char* path, std::string_view content);
// Directory for temporary files, with its trailing separator.
bool PlatGetTempPath(char* out, unsigned size);
// Makes a new, empty, uniquely named file in dir whose name starts with
// prefix; its full path goes to out (kMaxPath bytes).
bool PlatGetTempFileName(const char* dir, const char* prefix, char* out);
// A firmware table from the system's provider (Windows' firmware table
// providers; 'RSMB' is the raw SMBIOS data). Returns the size the provider
// announces, 0 when it has no such table (always 0 on POSIX, where the
// tables are files). With out and a size at least that large, copies the
// table and returns the bytes copied (0 on failure, the system's error code
// in *error).
uint32_t PlatReadFirmwareTable(uint32_t provider, void* out, uint32_t size, uint32_t* error);
// Opens a regular file for reading, or null (errno set on POSIX) when it is
// missing, unreadable or anything but a regular file. A FIFO or device is
// refused without being opened for blocking reads, so it cannot hang a run.
std::FILE* PlatOpenRegularFile(const char* path);
// How a whole-file read ended; error is the errno value of a failed open or
// read (EINVAL: not a regular file).
enum class PlatReadStatus { kRead, kCannotOpen, kTooLarge, kCannotRead };
struct PlatReadResult {
  PlatReadStatus status = PlatReadStatus::kRead;
  int error = 0;
};
// Reads the whole regular file at path, of at most limit bytes, into out
// (empty unless kRead). Opened as PlatOpenRegularFile opens it, so a FIFO or
// device cannot hang the run, and read to its end rather than to the size
// the file system tells (sysfs files say 4096 or 0 whatever they hold).
PlatReadResult PlatReadWholeFile(const char* path, size_t limit, std::string* out);
// Opens an existing regular file for writing and empties it; never creates
// it and never follows a symbolic link in its last component (null then).
std::FILE* PlatRewriteExistingFile(const char* path);
// Creates a new file for writing, refusing a name that already exists in any
// form (file, link, FIFO), so a planted link is never followed.
std::FILE* PlatCreateNewFile(const char* path);
// Writes content as a new file at path, never replacing a name: into a
// temporary file in the same directory, then moved to path only while no
// file, link or anything else holds that name. An interrupted run leaves no
// part-written file at path (POSIX: nor the temporary one on a signal).
// Returns 0, EEXIST when the name is taken, or another errno value.
int PlatPublishNewFile(const char* path, std::string_view content);
// Makes the viewer's temporary dump: a new, empty, uniquely named file in
// dir (names start with prefix, the path goes to out, kMaxPath bytes), open
// for reading, so that what the collector writes is read through this handle
// and never by name again. Until PlatDeleteFile removes it, the file is also
// removed when the program is ended by a signal (POSIX).
std::FILE* PlatCreateTempFile(const char* dir, const char* prefix, char* out);
// The program's command line as the system passed it, before any splitting
// (Windows' GetCommandLineA; empty on POSIX, where only the arguments exist).
std::string PlatRawCommandLine();
// The running program's own module (its resources, its directory).
QHANDLE PlatProgramModule();
// Full path of the module's file (null: the running program); 0 on failure.
unsigned PlatGetModuleFileName(QHANDLE module, char* out, unsigned size);
// Directory separator of the platform's paths.
char PlatPathSeparator();
// File name of the collector beside the viewer ("PROBEX.EXE" / "probex").
const char* PlatCollectorFileName();
// Path by which the value-name table (name: DMI.DAT) is opened. Windows: the
// plain name, so the current directory's copy. POSIX: the same while the
// current directory holds one, else the copy beside the program, so that an
// installed viewer works from any directory.
const char* PlatDmiDatPath(const char* name);
// Property file of the "tulip3" keyword run (c:\object.ini on Windows,
// object.ini in the current directory on POSIX).
const char* PlatKeywordPropertyFile();

// Upper-cases text in place by the rules of the narrow encoding (the ANSI code
// page on Windows; ASCII letters only on POSIX, which keeps UTF-8 intact).
void PlatCharUpper(char* text, size_t length);

// ---- Encoding of report text ----------------------------------------------
// Texts reach the report with bytes from the firmware inside them, which may
// be invalid in any encoding.
// Narrow text as UTF-8, for documents that declare UTF-8 (the HTML report).
// Windows converts from the ANSI code page; POSIX text is UTF-8 already and
// every byte that does not start a well-formed sequence becomes U+FFFD.
std::string PlatTextToUtf8(std::string_view text);
// Narrow text made valid in the narrow encoding itself, for files and
// windows that hold narrow text (the property file, the POSIX window text).
// POSIX: as PlatTextToUtf8. Windows: unchanged, since every byte is a
// character of the ANSI code page and the profile functions write the bytes
// as they are.
std::string PlatValidNarrowText(std::string_view text);

// ---- Processes -----------------------------------------------------------
// Starts the program at its full path with one argument, without a visible
// window, and returns its process, or null. No search and no splitting at
// blanks: POSIX hands the two as they are; Windows names the program as the
// application and quotes it in the command line, followed by one blank and
// the argument unquoted.
QHANDLE PlatStartProcessHidden(const char* program, const char* argument);
// Waits up to timeoutMs (kInfinite: for ever); true when the process ended.
bool PlatWaitProcess(QHANDLE process, uint32_t timeoutMs);
void PlatTerminateProcess(QHANDLE process, uint32_t exitCode);
// Exit code, or kStillActive while it runs; false when it cannot be read.
bool PlatGetExitCodeProcess(QHANDLE process, uint32_t* exitCode);
void PlatCloseProcess(QHANDLE process);
void PlatSleep(uint32_t ms);

// ---- Failures --------------------------------------------------------------
// Tells what failed, one line (POSIX: "syslens: text" on standard error).
// Windows says nothing: the host program expects a silent viewer.
void PlatReportFailure(const std::string& text);

// ---- Message boxes -------------------------------------------------------
enum class MsgIcon { None, Information, Error };
// caption null: the system's default caption.
void PlatMessageBox(QHANDLE owner, const char* text, const char* caption, MsgIcon icon);

// ---- Resources of a module -----------------------------------------------
enum class ResKind { Menu, Icon, Bitmap, Dialog, Accelerator };
// LoadStringA: copies at most size-1 characters and a NUL; returns the count
// copied, 0 when the string does not exist.
int PlatLoadString(QHANDLE module, unsigned id, char* out, int size);
bool PlatFindResource(QHANDLE module, unsigned id, ResKind kind);
QHANDLE PlatLoadIcon(QHANDLE module, unsigned id);

// ---- Override module for report strings ----------------------------------
// Loads the override module (CustomStrings.DLL, CustomStrings.so) at the
// first call of the process, by full path from the program's own directory
// only (a search would find one planted in the current directory), and calls
// its string export with the program's module name. Returns false when the
// module or export is missing; otherwise stores the export's result in
// *result (0: a text was supplied).
bool PlatCallOverrideModule(const char* programName, int stringId, unsigned langId, char* buffer,
                            uint32_t size, uint32_t* result);

// ---- Edit control holding the report text --------------------------------
// Appends at the end of the text (length, focus, empty selection there,
// replace selection). Returns false when the control rejected the text.
bool PlatEditAppend(QHANDLE edit, const char* text);
void PlatEditClear(QHANDLE edit);
size_t PlatEditTextLength(QHANDLE edit);
// Average character width of the control's font; false without a device
// context.
bool PlatEditAverageCharWidth(QHANDLE edit, int* width);
int PlatDialogBaseUnitWidth();
void PlatEditSetTabStops(QHANDLE edit, int count, const int* dialogUnits);
void PlatEditInvalidate(QHANDLE edit);
// Stops (false) or resumes (true) repainting; resuming repaints it whole.
void PlatEditSetRedraw(QHANDLE edit, bool redraw);

// The host's edit control named on the command line (W=). On Windows the
// number is a window handle; on POSIX a file descriptor that receives the
// control's text when it is released.
QHANDLE PlatAttachHostEdit(uint32_t id);
void PlatReleaseHostEdit(QHANDLE edit);
// POSIX only (Windows shows a real window): the own report window's edit
// control, a text buffer whose whole lines go to standard output as they
// gather (tabs expanded to the stops on a terminal, byte for byte into a
// pipe). Flushing writes the rest; destroying frees the control.
QHANDLE PlatCreateStdoutEdit();
void PlatFlushStdoutEdit(QHANDLE edit);
void PlatDestroyStdoutEdit(QHANDLE edit);
