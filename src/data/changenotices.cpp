#include "data/changenotices.h"

// The signal of CChangeNotices is made by moc from the header.
