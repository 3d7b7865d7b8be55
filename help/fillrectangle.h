#pragma once

#include <QColor>
#include <QWidget>

// A plain filled area that reports clicks and the pointer entering and leaving it.
class TFillRectangle : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor fill READ fill WRITE setFill)

public:
    explicit TFillRectangle(QWidget *parent = nullptr);

    QColor fill() const { return m_fill; }
    void setFill(const QColor &color);

signals:
    // A left-button press and release, both inside the area.
    void clicked();
    void mouseEntered();
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_fill = Qt::transparent;
    bool m_pressed = false;
};
