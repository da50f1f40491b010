#pragma once

#include "data/tablefile.h"

// The writers of the table formats, each filling a new file at `path` (a temporary name the
// caller puts in place afterwards). They report every so many rows to `progress`.

inline constexpr int kTableProgressStep = 1000;

TableFileResult WriteCsvTable(const QString& path, const TableFileContent& content,
                              const TableFileProgress& progress);
TableFileResult WriteXlsxTable(const QString& path, const TableFileContent& content,
                               const TableFileProgress& progress);
