// GBK (code page 936) from Windows' own tables, whatever the system's code
// page: the settings file's encoding when it has no byte-order mark.
#pragma once

#include "settings/FileEncoding.h"

const GbkCodec& SystemGbk();
