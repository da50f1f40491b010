#pragma once

#include <QString>

class CADORecordset;

// The record kinds whose numbers come from the counters of table snnumber.
enum class RecordKind {
    Client,
    Linkman,
    Appoint,
    InputData,
    OutputData,
    InputDetail,
    OutputDetail
};

struct TakenNumber
{
    int number = -1;
    QString failure; // the message to show when no number could be taken
    bool Ok() const { return failure.isEmpty(); }
};

// Takes the next number of the kind's counter and advances the counter, atomically across
// every program that uses the same data file. The recordset is left closed for the caller's
// own statements. On failure, `failure` holds the kind's message and nothing was written.
TakenNumber TakeRecordNumber(CADORecordset& recordset, RecordKind kind);

// Takes `count` consecutive numbers at once, the first in `number`, inside the write
// transaction the caller holds (BeginTransaction): the counter moves on only when the caller
// commits, so an import that is given up leaves it as it was. The recordset is left closed.
TakenNumber TakeRecordNumbersInTransaction(CADORecordset& recordset, RecordKind kind, int count);

// The counter column of snnumber for a kind.
QString CounterColumn(RecordKind kind);
