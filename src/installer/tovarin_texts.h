// The console texts of TOVARIN. Several are printf formats: their "%s" takes
// the text named beside them.
#pragma once

constexpr const char* kUsageText =
    "-= Usage =-\n"
    "Original Name - TOVARIN.EXE.  May be renamed as needed.\n\n"
    "This program will replace the DMI info report from the Quillmark "
    "directory.\n"
    "TOVARIN.EXE displays this help when any argument is passed\n"
    "-----------------------------------------------------------\n\n";

// %s: the registry value.
constexpr const char* kInstalledLocationText = "\nQuillmark registered installed location : %s\n";
constexpr const char* kUninstallLocationText = "\nQuillmark uninstall registered location : %s\n";
// %s: the suite directory.
constexpr const char* kDirectoryText = "Quillmark directory : %s\n\n";

constexpr const char* kNotInstalledText =
    "\n-= ERROR =-\nUnable to locate Quillmark for Windows!\n\n"
    "Either Quillmark is not properly installed on your system, or\n"
    "your version is incompatible with this patch.\n"
    "Please install Quillmark for Windows prior to executing this program.\n\n";
// %s: TOVARIN's own directory.
constexpr const char* kManualCopyText =
    "If Quillmark for Windows is installed on your system, please copy all "
    "files\nfrom the %s directory into your \nQuillmark directory to manually "
    "patch your installation.\n\n\nPress any key to quit...\n";

// %s: the suite directory.
constexpr const char* kNoDirectoryText =
    "\n-= ERROR =-\nUnable to locate %s\n"
    "Please re-install Quillmark for Windows prior to running this program."
    "\n\nPress any key to quit...\n";

// %s: the path, what it contains, TOVARIN's own directory.
constexpr const char* kUnsafePathText =
    "\n-= ERROR =-\nThe path %s\ncontains %s, which the command interpreter "
    "would act on.\nNo file has been changed. Please copy all files\n"
    "from the %s directory into your \nQuillmark directory to manually patch "
    "your installation.\n\nPress any key to quit...\n";

// %s: the suite directory.
constexpr const char* kSameDirectoryText =
    "\n-= ERROR =-\nThis program lies in the Quillmark directory %s itself,\n"
    "where deleting the installed files would delete the new ones as well.\n"
    "No file has been changed. Please run it from the directory that holds\n"
    "the new files.\n\nPress any key to quit...\n";
