#pragma once

#include "data/filemaintenance.h"

namespace vantrel::sqlite {

// A SQLite data file's care, through the copies that never leave a damaged file under the
// data file's name (filesafety.h).
const db::FileMaintenance& FileMaintenance();

} // namespace vantrel::sqlite
