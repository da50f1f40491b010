#pragma once

#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QString>

#include <memory>

// Reads the parts of a zip file, as Excel workbooks are, straight on zlib: a part streams as it
// inflates, its size and checksum checked at its end, and a file that breaks off or lies about
// its parts is refused. Stored and deflated parts; no encryption, no parts beyond 4 GB.
class CZipReader
{
public:
    struct Entry
    {
        quint16 method = 0;
        quint32 crc = 0;
        quint64 compressedSize = 0;
        quint64 size = 0;
        quint64 localOffset = 0;
    };

    explicit CZipReader(const QString& path);
    ~CZipReader();

    // Reads the central directory; false when the file is no zip file or it breaks off.
    bool Open();
    // The part by its name (letter case aside); null when there is none.
    const Entry* Find(const QString& name) const;
    // A reader of the part's unpacked bytes. It fails (read returns -1, Failed() is true) when
    // the bytes break off, do not inflate or do not match their checksum.
    std::unique_ptr<QIODevice> OpenEntry(const Entry& entry);

private:
    QFile m_file;
    QHash<QString, Entry> m_entries;
};

// Whether a part's reader failed before its end.
bool ZipEntryFailed(const QIODevice& device);
