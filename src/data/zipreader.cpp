#include "data/zipreader.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>

namespace {

constexpr quint32 kEndSignature = 0x06054b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr qint64 kChunk = 64 * 1024;

quint16 U16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 U32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

// The unpacked bytes of one part, inflated as they are read.
class EntryDevice final : public QIODevice
{
public:
    EntryDevice(QFile& file, const CZipReader::Entry& entry, qint64 dataOffset)
        : m_file(file), m_entry(entry), m_position(dataOffset),
          m_remaining(qint64(entry.compressedSize))
    {
        if (m_entry.method == 8)
            m_ready = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
        else
            m_ready = m_entry.method == 0;
        m_failed = !m_ready;
    }
    ~EntryDevice() override
    {
        if (m_entry.method == 8 && m_ready)
            inflateEnd(&m_stream);
    }

    bool isSequential() const override { return true; }
    bool Failed() const { return m_failed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (m_failed)
            return -1;
        if (m_done || maxSize <= 0)
            return 0;
        qint64 produced = 0;
        if (m_entry.method == 0) {
            produced = ReadRaw(data, std::min(maxSize, m_remaining));
            if (produced < 0)
                return Fail();
        } else {
            m_stream.next_out = reinterpret_cast<Bytef*>(data);
            m_stream.avail_out = uInt(std::min<qint64>(maxSize, 1 << 30));
            while (m_stream.avail_out > 0) {
                if (m_stream.avail_in == 0) {
                    if (m_remaining == 0)
                        return Fail(); // the deflated bytes end before the part does
                    m_input.resize(std::min(kChunk, m_remaining));
                    const qint64 got = ReadRaw(m_input.data(), m_input.size());
                    if (got <= 0)
                        return Fail();
                    m_stream.next_in = reinterpret_cast<Bytef*>(m_input.data());
                    m_stream.avail_in = uInt(got);
                }
                const int status = inflate(&m_stream, Z_NO_FLUSH);
                if (status == Z_STREAM_END) {
                    m_done = true;
                    break;
                }
                if (status != Z_OK)
                    return Fail();
            }
            produced = qint64(reinterpret_cast<char*>(m_stream.next_out) - data);
        }
        m_crc = crc32(m_crc, reinterpret_cast<const Bytef*>(data), uInt(produced));
        m_size += quint64(produced);
        if (m_entry.method == 0 && m_remaining == 0)
            m_done = true;
        if (m_size > m_entry.size)
            return Fail();
        if (m_done && (m_crc != m_entry.crc || m_size != m_entry.size))
            return Fail();
        return produced;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    qint64 ReadRaw(char* data, qint64 size)
    {
        if (!m_file.seek(m_position))
            return -1;
        const qint64 got = m_file.read(data, size);
        if (got < 0 || (got == 0 && size > 0))
            return -1;
        m_position += got;
        m_remaining -= got;
        return got;
    }
    qint64 Fail()
    {
        m_failed = true;
        return -1;
    }

    QFile& m_file;
    CZipReader::Entry m_entry;
    qint64 m_position;
    qint64 m_remaining;
    z_stream m_stream{};
    QByteArray m_input;
    uLong m_crc = crc32(0, nullptr, 0);
    quint64 m_size = 0;
    bool m_ready = false;
    bool m_failed = false;
    bool m_done = false;
};

} // namespace

bool ZipEntryFailed(const QIODevice& device)
{
    const auto* entry = dynamic_cast<const EntryDevice*>(&device);
    return !entry || entry->Failed();
}

CZipReader::CZipReader(const QString& path) : m_file(path) {}

CZipReader::~CZipReader() = default;

bool CZipReader::Open()
{
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = m_file.size();
    // The end record lies in the last 22 bytes, after a comment of up to 64 KB.
    const qint64 tail = std::min<qint64>(size, 22 + 0xFFFF);
    if (tail < 22 || !m_file.seek(size - tail))
        return false;
    const QByteArray end = m_file.read(tail);
    qsizetype at = -1;
    for (qsizetype i = end.size() - 22; i >= 0; --i)
        if (U32(end.constData() + i) == kEndSignature) {
            at = i;
            break;
        }
    if (at < 0)
        return false;
    const char* record = end.constData() + at;
    const quint16 count = U16(record + 10);
    const quint32 directorySize = U32(record + 12);
    const quint32 directoryOffset = U32(record + 16);
    if (qint64(directoryOffset) + directorySize > size - tail + at || !m_file.seek(directoryOffset))
        return false;
    const QByteArray directory = m_file.read(directorySize);
    if (directory.size() != qsizetype(directorySize))
        return false;
    qsizetype offset = 0;
    for (int i = 0; i < count; ++i) {
        if (offset + 46 > directory.size())
            return false;
        const char* p = directory.constData() + offset;
        if (U32(p) != kCentralSignature)
            return false;
        Entry entry;
        entry.method = U16(p + 10);
        entry.crc = U32(p + 16);
        entry.compressedSize = U32(p + 20);
        entry.size = U32(p + 24);
        const quint16 nameLength = U16(p + 28);
        const quint16 extraLength = U16(p + 30);
        const quint16 commentLength = U16(p + 32);
        entry.localOffset = U32(p + 42);
        if (offset + 46 + nameLength > directory.size())
            return false;
        const QString name = QString::fromUtf8(p + 46, nameLength);
        m_entries.insert(name.toLower(), entry);
        offset += 46 + nameLength + extraLength + commentLength;
    }
    return true;
}

const CZipReader::Entry* CZipReader::Find(const QString& name) const
{
    const auto it = m_entries.constFind(name.toLower());
    return it == m_entries.cend() ? nullptr : &*it;
}

std::unique_ptr<QIODevice> CZipReader::OpenEntry(const Entry& entry)
{
    char local[30];
    qint64 dataOffset = -1;
    if (m_file.seek(qint64(entry.localOffset)) && m_file.read(local, 30) == 30 &&
        U32(local) == kLocalSignature)
        dataOffset = qint64(entry.localOffset) + 30 + U16(local + 26) + U16(local + 28);
    if (dataOffset < 0 || (entry.method != 0 && entry.method != 8) ||
        U16(local + 6) & 1 /* encrypted */)
        return nullptr;
    auto device = std::make_unique<EntryDevice>(m_file, entry, dataOffset);
    if (!device->open(QIODevice::ReadOnly) || device->Failed())
        return nullptr;
    return device;
}
