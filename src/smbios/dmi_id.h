// What Linux shows every user of the SMBIOS table without root: the files
// of /sys/class/dmi/id (vendor, product and version strings of the BIOS,
// system, board and chassis; serial numbers and the UUID are root's). A
// model of the structures they describe, marked partial, for a user who
// cannot read the table itself.
#pragma once

#include <string>

#include "model.h"

// The sysfs mount: SYSLENS_SYSFS_ROOT when set (tests build fake trees
// there), else /sys.
std::string SysfsRoot();

// The structures of types 0 to 3 with the fields whose files dir holds and
// can be read; false when it gives none.
bool ModelFromDmiId(const std::string& dir, Model* model);
