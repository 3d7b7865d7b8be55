#pragma once

#include <QRgb>
#include <QWidget>

// A plain rectangle painted in one ARGB colour that reports the pointer entering and leaving
// it and a click (press and release of the left button inside it). Children that ignore the
// mouse, such as a caption label, count as part of it.
class TFillRectangle : public QWidget
{
    Q_OBJECT

public:
    explicit TFillRectangle(QWidget *parent = nullptr);

    QRgb fill() const { return m_fill; }
    void setFill(QRgb fill);

signals:
    void mouseEntered();
    void mouseLeft();
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QRgb m_fill = 0xFF000000;
    bool m_pressed = false;
};

// The back area of the help and settings tool bars, and its hover colour.
constexpr QRgb BackAreaFill = 0xFF172230;
constexpr QRgb BackAreaHover = 0xFF2B5697;
