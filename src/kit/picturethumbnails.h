#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

// Small pictures for lists, read away from the window thread so a long list of pictures shows
// at once and its thumbnails follow. Results arrive as Loaded signals in the loader's thread;
// destroying the loader waits for the reads in progress and drops the rest.
class CThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    explicit CThumbnailLoader(QSize size, QObject* parent = nullptr);
    ~CThumbnailLoader() override;

    // Reads the picture stored as `relative` under `home` (see ResolvePicturePath) and delivers
    // it under `key`.
    void Request(int key, const QString& home, const QString& relative);
    // Forgets every request not yet delivered.
    void CancelAll();
    // Waits for every request to be read and delivered; for tests and measurements.
    bool WaitForDone(int timeoutMs);

Q_SIGNALS:
    // `found` is false when no file exists at the path; `image` is null when the file holds
    // no readable picture.
    void Loaded(int key, const QImage& image, bool found);

private:
    QSize m_size;
    // Bumped by CancelAll: reads of an older generation deliver nothing.
    std::shared_ptr<std::atomic<int>> m_generation;
    std::atomic<int> m_pending{0};
    QThreadPool m_pool;
};
