// A small hand-written parser over argv rather than a library: the options
// are few and fixed, and getopt is POSIX (nothing above the platform layer
// includes POSIX headers). CLI11 is not in the build image, and would be the
// larger dependency for a dozen options.
#include "options.h"

#include <cstdlib>
#include <cstring>

namespace {

struct TypeKeyword {
  const char* name;
  std::vector<uint8_t> types;
};

// clang-format off
const TypeKeyword kTypeKeywords[] = {
    {"bios", {0, 13}},         {"system", {1, 12, 15, 23, 32}}, {"baseboard", {2, 10, 41}},
    {"chassis", {3}},          {"processor", {4}},              {"memory", {5, 6, 16, 17}},
    {"cache", {7}},            {"connector", {8}},              {"slot", {9}},
};
// clang-format on

bool ParseNumber(const std::string& text, unsigned long limit, unsigned long* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const unsigned long value = strtoul(text.c_str(), &end, 0);
  if (*end != '\0' || text[0] == '-' || value > limit) return false;
  *out = value;
  return true;
}

// Options that take a value, by both spellings.
struct ValueOption {
  const char* shortName;
  const char* longName;
};

const ValueOption kValueOptions[] = {
    {"-t", "--type"},         {"-H", "--handle"},           {"-s", "--string"},
    {nullptr, "--from-dump"}, {nullptr, "--table-version"}, {nullptr, "--dump-bin"},
};

}  // namespace

const char* const kCliUsage =
    "Usage: syslens [OPTIONS]\n"
    "Shows this machine's SMBIOS table (or a saved one) as text or JSON.\n"
    "\n"
    "  -t, --type TYPE        only structures of these types: numbers, comma lists,\n"
    "                         or bios, system, baseboard, chassis, processor,\n"
    "                         memory, cache, connector, slot (may be repeated)\n"
    "  -H, --handle HANDLE    only the structure with this handle (0x... or decimal)\n"
    "  -u, --dump             add each structure's raw bytes and strings\n"
    "  -s, --string KEYWORD   print one value, one line per structure\n"
    "      --list-strings     the keywords -s takes\n"
    "      --list-types       the structure types and the -t keywords\n"
    "      --json             one JSON document (docs/syslens.schema.json)\n"
    "      --from-dump FILE   read a saved table: a dmidecode --dump-bin file, the\n"
    "                         viewer's dump file, or a bare table\n"
    "      --table-version X.Y  the SMBIOS version of a bare table\n"
    "      --dump-bin FILE    save the table to a new FILE in dmidecode's dump format\n"
    "      --mask             hide serial numbers, UUIDs and asset tags (also in\n"
    "                         --dump-bin), for a report to post in public\n"
    "  -q, --quiet            no warnings on standard error\n"
    "  -V, --version          the program's version\n"
    "  -h, --help             this text\n"
    "\n"
    "Exit status: 0 done, 1 no usable table, 2 a bad command line.\n";

bool AddTypes(const std::string& value, std::array<bool, 256>* types) {
  size_t start = 0;
  bool any = false;
  while (start <= value.size()) {
    const size_t comma = value.find(',', start);
    const std::string item =
        value.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    unsigned long number = 0;
    bool known = false;
    for (const TypeKeyword& keyword : kTypeKeywords) {
      if (item != keyword.name) continue;
      for (uint8_t type : keyword.types) (*types)[type] = true;
      known = true;
    }
    if (!known) {
      if (!ParseNumber(item, 255, &number)) return false;
      (*types)[number] = true;
    }
    any = true;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return any;
}

std::string TypeKeywordList() {
  std::string out;
  for (const TypeKeyword& keyword : kTypeKeywords) {
    out += keyword.name;
    out += ':';
    for (uint8_t type : keyword.types) out += ' ' + std::to_string(type);
    out += '\n';
  }
  return out;
}

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool hasValue = false;
    // "--name=value", "-tVALUE" and "--name value" all give a value.
    for (const ValueOption& option : kValueOptions) {
      const std::string longName = option.longName;
      if (arg.compare(0, longName.size() + 1, longName + "=") == 0) {
        value = arg.substr(longName.size() + 1);
        arg = longName;
        hasValue = true;
      } else if (option.shortName && arg.size() > 2 && arg.compare(0, 2, option.shortName) == 0) {
        value = arg.substr(2);
        arg = option.longName;
        hasValue = true;
      } else if (arg == longName || (option.shortName && arg == option.shortName)) {
        if (i + 1 >= args.size()) {
          *error = "option " + arg + " needs a value (see --help)";
          return false;
        }
        value = args[++i];
        arg = longName;
        hasValue = true;
      }
      if (hasValue) break;
    }
    if (hasValue) {
      if (arg == "--type") {
        if (!AddTypes(value, &options->types)) {
          *error = "unknown type '" + value + "' for -t (see --list-types)";
          return false;
        }
        options->anyType = true;
      } else if (arg == "--handle") {
        unsigned long handle = 0;
        if (!ParseNumber(value, 0xFFFF, &handle)) {
          *error = "bad handle '" + value + "' for -H: give 0 to 0xFFFF";
          return false;
        }
        options->handles.push_back(static_cast<uint16_t>(handle));
      } else if (arg == "--string") {
        options->keyword = value;
      } else if (arg == "--from-dump") {
        options->dumpPath = value;
      } else if (arg == "--dump-bin") {
        if (value.empty()) {
          *error = "--dump-bin needs a file name";
          return false;
        }
        options->dumpBinPath = value;
      } else {
        options->tableVersion = value;
      }
    } else if (arg == "-u" || arg == "--dump") {
      options->rawBytes = true;
    } else if (arg == "--list-strings") {
      options->listStrings = true;
    } else if (arg == "--list-types") {
      options->listTypes = true;
    } else if (arg == "--json") {
      options->json = true;
    } else if (arg == "--mask") {
      options->mask = true;
    } else if (arg == "-q" || arg == "--quiet") {
      options->quiet = true;
    } else if (arg == "-V" || arg == "--version") {
      options->version = true;
    } else if (arg == "-h" || arg == "--help") {
      options->help = true;
    } else {
      *error = "unknown option '" + arg + "' (see --help)";
      return false;
    }
  }
  if (!options->keyword.empty() &&
      (options->anyType || !options->handles.empty() || options->rawBytes || options->json)) {
    *error = "-s prints one value: it does not combine with -t, -H, -u or --json";
    return false;
  }
  if (!options->dumpBinPath.empty() &&
      (options->anyType || !options->handles.empty() || options->rawBytes || options->json ||
       !options->keyword.empty())) {
    *error = "--dump-bin saves the whole table: it does not combine with -t, -H, -u, -s or --json";
    return false;
  }
  return true;
}
