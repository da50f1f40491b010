#pragma once

#include "kit/picture.h"

#include <QFrame>

// The picture frame of a dialog: shows its picture stretched to the frame and reports clicks
// to its owner. The owner chooses the mouse cursor (the pointing hand while a click opens
// something, the arrow otherwise).
class CPictureFrame : public QFrame
{
    Q_OBJECT
public:
    explicit CPictureFrame(QWidget* parent = nullptr);

    CPicture& Picture() { return m_picture; }
    const CPicture& Picture() const { return m_picture; }
    // Loads the picture at `path` and shows it; false (frame empty) when it cannot be shown.
    bool ShowPicture(const QString& path);
    // Drops the picture and empties the frame.
    void Clear();

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CPicture m_picture;
    bool m_bPressed = false;
};
