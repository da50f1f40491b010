#pragma once

#include <QStringList>

#include <optional>

class CADODatabase;

// Field `name` of every row of a dictionary statement, in the statement's order; nothing when
// the statement fails.
std::optional<QStringList> DictionaryValues(CADODatabase* database, const QString& sql);
