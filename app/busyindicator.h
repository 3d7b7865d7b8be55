#pragma once

#include <QTimer>
#include <QWidget>

// A spinning arc that turns only while the indicator is both enabled and visible.
class TBusyIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit TBusyIndicator(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateTimer();

    QTimer m_timer;
    int m_angle = 0;
};
