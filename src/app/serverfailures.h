#pragma once

#include "data/serverprobe.h"

#include <QString>

// What trying the server found, in a sentence for the user.
QString ServerProbeText(const vantrel::db::ServerProbeResult& result);
