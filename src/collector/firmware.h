// The running machine's SMBIOS tables, read the platform's way:
// firmware_linux.cpp (sysfs) or firmware_win32.cpp (GetSystemFirmwareTable).
#pragma once

#include "collector.h"

FirmwareTables ReadFirmwareTables();
