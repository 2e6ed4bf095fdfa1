// TOVARIN's path and command building, free of any system call so that it
// can be tested on its own. The registry calls live in tovarin.cpp, the
// file-system and console calls in tovarin_system.cpp.
#pragma once

#include <cstddef>

// Sizes of TOVARIN's fixed buffers, terminating NUL included.
constexpr size_t kRegTextSize = 128;  // a registry value, the suite directory
constexpr size_t kPathSize = 260;     // short directory, TOVARIN's own directory
constexpr size_t kCommandSize = 640;  // one del/copy command line

// Registry value types TOVARIN accepts (the values of REG_SZ and
// REG_EXPAND_SZ; tovarin.cpp checks that they agree with <windows.h>).
constexpr unsigned long kRegTypeSz = 1;
constexpr unsigned long kRegTypeExpandSz = 2;

// The three registry values, each empty when it could not be read.
struct _sysdir {
  char progfiles[kRegTextSize];  // UninstallString of ...\Uninstall\Quillmark
  char instdir[kRegTextSize];    // MainExePath of Software\Quillmark\...
  char uninstreg[kRegTextSize];  // UninstallString of ...\Uninstall\Quillmarks
};

// Turns the bytes a registry query wrote into buf (cbData of them, buf being
// bufSize bytes long) into a NUL-terminated text in place. The registry does
// not promise a terminating NUL, so the text ends at the first NUL or after
// cbData bytes; it must leave room for its NUL inside bufSize. A wrong type or
// a text that does not fit gives false and an empty buf.
bool FinishRegString(unsigned long type, char* buf, size_t cbData, size_t bufSize);

// Which registry location gave the suite directory.
enum class SuiteRule { None, InstalledLocation, UninstallString };

struct SuiteLocation {
  SuiteRule rule = SuiteRule::None;
  const char* lpszValue = nullptr;  // the registry value used (inside sysdir)
  char szDir[kRegTextSize] = {};    // the suite directory derived from it
};

// Derives the suite directory from one registry value. An installed
// location gives the text up to its last backslash. An uninstall string is
// cut the same way and, when the rest holds a blank, gives the text after its
// first blank. A value without a backslash, or one that leaves an empty
// directory, names no directory: false.
bool DeriveSuiteDir(const char* value, SuiteRule rule, char* out, size_t size);

// Picks the first usable location in the order installed location,
// first uninstall key, second uninstall key. A value that names no directory
// (see DeriveSuiteDir) is passed over like a missing one.
SuiteLocation LocateSuite(const _sysdir& dirs);

// TOVARIN's own directory with its trailing backslash: taken from the program
// path of the command line, or from the module's own file name when that
// path holds no backslash (a program started by name alone) or is too long;
// empty (the current directory) when neither gives one.
void ComputeSubprg(const char* argv0, const char* modulePath, char* out, size_t size);

// Looks up the directory entry at the full path `path` and writes its 8.3
// name, or its own name when it has no other, into out. False when there is
// no such entry or the name does not fit.
using EntryShortNameFn = bool (*)(const char* path, char* out, size_t size, void* ctx);

// Builds the short form of dir one component at a time, asking lookup for
// the 8.3 name of every entry below the root. Used when the system cannot
// produce the short path itself. The root ("C:\", "\\server\share\", "\") is
// kept as it is; "." and ".." stay as they are; a wildcard in a component,
// a failed lookup or a result longer than size allows gives false.
bool BuildShortPathFromEntries(const char* dir, EntryShortNameFn lookup, void* ctx, char* out,
                               size_t size);

// The first character of path that double quotes do not protect from the
// command interpreter ('%', '!', '"', or a control character), or 0 when
// there is none. Such a path is refused rather than handed to it.
char FindUnsafeChar(const char* path);

// True when path must be quoted to stay one argument of del or copy: it
// holds a blank or a character the interpreter splits commands or
// arguments at (& | ^ < > ( ) , ; =).
bool NeedsQuotes(const char* path);

// The four commands that replace the installed programs, in the order they
// run: delete syslens.*, delete probex.*, copy syslens.*, copy probex.*.
struct PatchCommands {
  char szCmd[4][kCommandSize];
};

// shortDir is the short suite directory (no trailing backslash), subprg the
// patch directory with its trailing backslash. The copy destinations stay
// unquoted unless NeedsQuotes asks for quotes. False when either path holds
// an unsafe character or a command would not fit; out is then all empty.
bool BuildPatchCommands(const char* shortDir, const char* subprg, PatchCommands* out);
