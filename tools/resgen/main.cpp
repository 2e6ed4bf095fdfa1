// resgen [--rc OUT.rc] [--table OUT.cpp] [--ids OUT.h] [--others LIST]
//        LANGFILE...
//
// Reads every language file (and the optional list of menus, icons and
// accelerator tables), checks them, and only then writes the outputs, each
// through a temporary file so a failed run leaves no half-written output.
// The id header is left untouched when its text is unchanged, so that a
// changed text does not recompile every file that includes it.
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "resgen.h"

namespace {

constexpr std::streamsize kMaxInputBytes = 16 << 20;

bool ReadFile(const std::string& path, std::string* content, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = path + ": cannot open";
    return false;
  }
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxInputBytes) {
    *error = path + ": unreadable or larger than 16 MiB";
    return false;
  }
  in.seekg(0, std::ios::beg);
  content->assign(size_t(size), '\0');
  if (size > 0 && !in.read(&(*content)[0], size)) {
    *error = path + ": read error";
    return false;
  }
  return true;
}

bool WriteFile(const std::string& path, const std::string& content, std::string* error) {
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out.flush()) {
      *error = tmp + ": cannot write";
      std::remove(tmp.c_str());
      return false;
    }
  }
  if (std::rename(tmp.c_str(), path.c_str()) != 0) {
    *error = path + ": cannot replace";
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: resgen [--rc OUT.rc] [--table OUT.cpp] [--ids OUT.h] "
               "[--others LIST] LANGFILE...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string rcPath, tablePath, idsPath, othersPath;
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    std::string* target = arg == "--rc"       ? &rcPath
                          : arg == "--table"  ? &tablePath
                          : arg == "--ids"    ? &idsPath
                          : arg == "--others" ? &othersPath
                                              : nullptr;
    if (target) {
      if (++i >= argc) return Usage();
      *target = argv[i];
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else {
      inputs.push_back(arg);
    }
  }
  if (inputs.empty() || (rcPath.empty() && tablePath.empty() && idsPath.empty())) return Usage();

  std::string error, content;
  std::vector<resgen::LangFile> files(inputs.size());
  for (size_t i = 0; i < inputs.size(); ++i) {
    if (!ReadFile(inputs[i], &content, &error) ||
        !resgen::ParseLangFile(inputs[i], content, &files[i], &error) ||
        !resgen::CheckCodePage(files[i], &error)) {
      std::fprintf(stderr, "resgen: %s\n", error.c_str());
      return 1;
    }
  }
  std::vector<resgen::OtherRes> others;
  if (!othersPath.empty() && (!ReadFile(othersPath, &content, &error) ||
                              !resgen::ParseOthersFile(othersPath, content, &others, &error))) {
    std::fprintf(stderr, "resgen: %s\n", error.c_str());
    return 1;
  }
  if (!resgen::CheckLanguageSet(files, &error)) {
    std::fprintf(stderr, "resgen: %s\n", error.c_str());
    return 1;
  }
  std::string ids;
  if (!idsPath.empty()) {
    auto english = std::find_if(files.begin(), files.end(),
                                [](const resgen::LangFile& f) { return f.language == 0; });
    if (english == files.end()) {
      std::fprintf(stderr, "resgen: --ids needs the English file (language 0)\n");
      return 1;
    }
    if (!resgen::WriteIds(*english, &ids, &error)) {
      std::fprintf(stderr, "resgen: %s\n", error.c_str());
      return 1;
    }
  }
  std::string current, unused;
  const bool idsUnchanged =
      !idsPath.empty() && ReadFile(idsPath, &current, &unused) && current == ids;
  if ((!rcPath.empty() && !WriteFile(rcPath, resgen::WriteRc(files), &error)) ||
      (!idsPath.empty() && !idsUnchanged && !WriteFile(idsPath, ids, &error)) ||
      (!tablePath.empty() && !WriteFile(tablePath, resgen::WriteTable(files, others), &error))) {
    std::fprintf(stderr, "resgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
