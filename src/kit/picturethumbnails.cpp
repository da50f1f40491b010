#include "kit/picturethumbnails.h"

#include "kit/picturepath.h"
#include "kit/picturereader.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QImageReader>

CThumbnailLoader::CThumbnailLoader(QSize size, QObject* parent)
    : QObject(parent), m_size(size), m_generation(std::make_shared<std::atomic<int>>(0))
{
    // Reading pictures is mostly waiting for the disk; two threads keep one busy.
    m_pool.setMaxThreadCount(2);
}

CThumbnailLoader::~CThumbnailLoader()
{
    CancelAll();
    m_pool.waitForDone();
}

void CThumbnailLoader::Request(int key, const QString& home, const QString& relative)
{
    const int generation = m_generation->load();
    ++m_pending;
    m_pool.start([this, generation, key, home, relative, size = m_size] {
        const auto current = [this, generation] { return m_generation->load() == generation; };
        QImage image;
        bool found = false;
        if (current()) {
            const QString path = ResolvePicturePath(home, relative);
            found = QFileInfo(path).isFile();
            if (found) {
                QImageReader reader(path);
                image = ReadPicture(reader, size);
                if (!image.isNull() &&
                    (image.width() > size.width() || image.height() > size.height()))
                    image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            }
        }
        // The loader outlives this call (its destructor waits for it), and the posted call
        // is dropped if the loader goes before it runs.
        QMetaObject::invokeMethod(
            this,
            [this, current, key, image, found] {
                --m_pending;
                if (current())
                    Q_EMIT Loaded(key, image, found);
            },
            Qt::QueuedConnection);
    });
}

void CThumbnailLoader::CancelAll()
{
    // Requests still queued find themselves outdated and return at once.
    ++*m_generation;
}

bool CThumbnailLoader::WaitForDone(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (m_pending.load() <= 0)
            return true;
    }
    return false;
}
