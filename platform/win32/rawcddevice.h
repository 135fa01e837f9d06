// Raw reads of a real drive: its device \\.\X: opened for shared reading, every read
// one DeviceIoControl.
#pragma once

#include "platform/rawcd.h"

std::unique_ptr<RawCdDrive> OpenDeviceRawCd(const std::string& drive, std::uint32_t* error);
