#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

// The bar across the top of the main window that names what the main list shows: the text
// centred and word-wrapped on a plain background, cut with an ellipsis when it does not fit.
class CInfoBar : public QWidget
{
    Q_OBJECT
public:
    explicit CInfoBar(QWidget* parent = nullptr);

    // A text equal to the current one changes nothing.
    void SetText(const QString& text);
    QString Text() const { return m_text; }
    void SetBackgroundColor(const QColor& color);
    QColor BackgroundColor() const { return m_background; }
    QColor TextColor() const { return m_textColor; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect TextArea(const QRect& area) const;

    QString m_text;
    QColor m_background;
    QColor m_textColor;
};
