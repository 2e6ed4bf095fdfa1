#include "tovarin_paths.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// Copies text into out when it fits with its NUL; otherwise out is empty.
bool CopyText(std::string_view text, char* out, size_t size) {
  if (size == 0) return false;
  if (text.size() >= size) {
    out[0] = '\0';
    return false;
  }
  memcpy(out, text.data(), text.size());
  out[text.size()] = '\0';
  return true;
}

// Appends text to the NUL-terminated out; false (out unchanged) when the
// result would not fit.
bool AppendText(std::string_view text, char* out, size_t size) {
  size_t used = strlen(out);
  if (used + text.size() >= size) return false;
  memcpy(out + used, text.data(), text.size());
  out[used + text.size()] = '\0';
  return true;
}

// Position of the last backslash; npos when there is none.
size_t LastBackslash(std::string_view s) { return s.rfind('\\'); }

// Length of the root of a path: "X:\" (3), "X:" (2, drive-relative),
// "\\server\share\" (UNC, "\\?\C:\" alike), "\" (1), or 0 for a relative path.
size_t RootLength(std::string_view p) {
  if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
    // Two components after the leading pair: server and share.
    size_t pos = 2;
    for (int part = 0; part < 2; ++part) {
      size_t next = p.find('\\', pos);
      if (next == std::string_view::npos) return p.size();
      pos = next + 1;
    }
    return pos;
  }
  if (p.size() >= 2 && p[1] == ':') {
    return (p.size() >= 3 && p[2] == '\\') ? 3 : 2;
  }
  if (!p.empty() && p[0] == '\\') return 1;
  return 0;
}

}  // namespace

bool FinishRegString(unsigned long type, char* buf, size_t cbData, size_t bufSize) {
  if (bufSize == 0) return false;
  if ((type != kRegTypeSz && type != kRegTypeExpandSz) || cbData > bufSize) {
    buf[0] = '\0';
    return false;
  }
  const void* nul = memchr(buf, '\0', cbData);
  if (nul != nullptr) return true;
  // No NUL among the bytes returned: the text is all of them, and the
  // terminator must still fit into the buffer.
  if (cbData >= bufSize) {
    buf[0] = '\0';
    return false;
  }
  buf[cbData] = '\0';
  return true;
}

bool DeriveSuiteDir(const char* value, SuiteRule rule, char* out, size_t size) {
  if (size == 0) return false;
  out[0] = '\0';
  std::string_view text(value);
  size_t cut = LastBackslash(text);
  if (cut == std::string_view::npos) return false;
  text = text.substr(0, cut);
  if (rule == SuiteRule::UninstallString) {
    // "uninstaller argument": the argument names a file in the suite
    // directory, so the directory starts after the first blank.
    size_t blank = text.find(' ');
    if (blank != std::string_view::npos) text = text.substr(blank + 1);
  }
  if (text.empty()) return false;
  return CopyText(text, out, size);
}

SuiteLocation LocateSuite(const _sysdir& dirs) {
  struct Candidate {
    const char* value;
    SuiteRule rule;
  };
  const Candidate order[] = {
      {dirs.instdir, SuiteRule::InstalledLocation},
      {dirs.progfiles, SuiteRule::UninstallString},
      {dirs.uninstreg, SuiteRule::UninstallString},
  };
  SuiteLocation loc;
  for (const Candidate& c : order) {
    // The fields are filled bounded, but make sure of the terminator before
    // treating one as text.
    if (memchr(c.value, '\0', kRegTextSize) == nullptr || c.value[0] == '\0') continue;
    if (DeriveSuiteDir(c.value, c.rule, loc.szDir, sizeof loc.szDir)) {
      loc.rule = c.rule;
      loc.lpszValue = c.value;
      return loc;
    }
  }
  return SuiteLocation{};
}

void ComputeSubprg(const char* argv0, const char* modulePath, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  for (const char* path : {argv0, modulePath}) {
    if (path == nullptr) continue;
    std::string_view p(path);
    size_t cut = LastBackslash(p);
    if (cut != std::string_view::npos && CopyText(p.substr(0, cut + 1), out, size)) return;
  }
}

namespace {

bool ShortPathByEntries(const char* dir, EntryShortNameFn lookup, void* ctx, char* out,
                        size_t size) {
  std::string_view rest(dir);
  size_t root = RootLength(rest);
  // The long path walked so far, for the lookups; out holds the short one.
  char longPath[kPathSize];
  if (!CopyText(rest.substr(0, root), longPath, sizeof longPath) ||
      !CopyText(rest.substr(0, root), out, size))
    return false;
  rest.remove_prefix(root);
  const char* sep = "";
  while (!rest.empty()) {
    size_t end = rest.find('\\');
    std::string_view comp = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (comp.empty()) continue;  // doubled or trailing backslash
    // A wildcard would make the lookup match some other entry.
    if (comp.find_first_of("*?") != std::string_view::npos) return false;
    if (!AppendText(sep, longPath, sizeof longPath) || !AppendText(comp, longPath, sizeof longPath))
      return false;
    char name[kPathSize];
    if (comp == "." || comp == "..") {
      CopyText(comp, name, sizeof name);
    } else if (!lookup(longPath, name, sizeof name, ctx) || name[0] == '\0') {
      return false;
    }
    if (!AppendText(sep, out, size) || !AppendText(name, out, size)) return false;
    sep = "\\";
  }
  return out[0] != '\0';
}

}  // namespace

bool BuildShortPathFromEntries(const char* dir, EntryShortNameFn lookup, void* ctx, char* out,
                               size_t size) {
  if (size == 0) return false;
  out[0] = '\0';
  if (ShortPathByEntries(dir, lookup, ctx, out, size)) return true;
  out[0] = '\0';
  return false;
}

char FindUnsafeChar(const char* path) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(path); *p != '\0'; ++p) {
    // '%' expands variables and '"' ends the quoting even inside quotes;
    // '!' expands variables when delayed expansion is switched on.
    if (*p < 0x20 || *p == 0x7F || *p == '%' || *p == '!' || *p == '"')
      return static_cast<char>(*p);
  }
  return 0;
}

bool NeedsQuotes(const char* path) { return strpbrk(path, " \t&|^<>(),;=") != nullptr; }

bool BuildPatchCommands(const char* shortDir, const char* subprg, PatchCommands* out) {
  *out = PatchCommands{};
  if (FindUnsafeChar(shortDir) != 0 || FindUnsafeChar(subprg) != 0) return false;
  // The copy destination keeps its usual unquoted form unless the directory
  // would otherwise fall apart into several arguments or commands.
  const char* q = NeedsQuotes(shortDir) ? "\"" : "";
  const char* const names[2] = {"syslens", "probex"};
  for (int i = 0; i < 2; ++i) {
    int del = snprintf(out->szCmd[i], kCommandSize, "del \"%s\\%s.*\"", shortDir, names[i]);
    int copy = snprintf(out->szCmd[2 + i], kCommandSize, "copy \"%s%s.*\" %s%s\\*.*%s", subprg,
                        names[i], q, shortDir, q);
    if (del < 0 || static_cast<size_t>(del) >= kCommandSize || copy < 0 ||
        static_cast<size_t>(copy) >= kCommandSize) {
      *out = PatchCommands{};
      return false;
    }
  }
  return true;
}
