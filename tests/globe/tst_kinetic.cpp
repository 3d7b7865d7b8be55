#include "common/testsupport.h"

#include "globe/kinetic.h"

class TestKinetic : public QObject
{
    Q_OBJECT

private slots:
    void releaseWhileMoving_data();
    void releaseWhileMoving();
    void slowsToAStopWithinASecond();
    void pressStopsAtOnce();
    void longFramesAreCut();
};

void TestKinetic::releaseWhileMoving_data()
{
    QTest::addColumn<QList<int>>("moveTimes"); // one move of 3 degrees of yaw at each
    QTest::addColumn<int>("releaseTime");
    QTest::addColumn<bool>("spins");
    QTest::addColumn<float>("yawSpeed");
    QTest::newRow("no move") << QList<int>{} << 100 << false << 0.f;
    QTest::newRow("moving: 3 x 3 degrees in 30 ms")
        << QList<int>{10, 20, 30} << 40 << true << 9.f * 1000 / 30;
    QTest::newRow("paused before the release") << QList<int>{10, 20, 30} << 200 << false << 0.f;
    QTest::newRow("moves at once: capped")
        << QList<int>{0, 0, 0, 0, 0, 0} << 0 << true << KineticTurn::MaxSpeed;
}

void TestKinetic::releaseWhileMoving()
{
    QFETCH(QList<int>, moveTimes);
    QFETCH(int, releaseTime);
    QFETCH(bool, spins);
    QFETCH(float, yawSpeed);
    KineticTurn k;
    k.press(0);
    for (int t : moveTimes)
        k.move(3, 0, t);
    QCOMPARE(k.release(releaseTime), spins);
    QCOMPARE(k.isSpinning(), spins);
    QVERIFY(qAbs(k.yawSpeed() - yawSpeed) < 1e-2f);
    QCOMPARE(k.pitchSpeed(), 0.f);
}

void TestKinetic::slowsToAStopWithinASecond()
{
    KineticTurn k;
    k.press(0);
    k.move(20, -20, 0);
    QVERIFY(k.release(0));
    float lastYaw = 1e9f;
    float turned = 0;
    qint64 t = 0;
    while (k.isSpinning() && t < 5000) {
        t += 16;
        const KineticTurn::Step s = k.step(t);
        QVERIFY(s.dYaw > 0);
        QVERIFY(s.dPitch < 0);
        QVERIFY(s.dYaw <= lastYaw); // never speeds up
        lastYaw = s.dYaw;
        turned += s.dYaw;
    }
    QVERIFY(!k.isSpinning());
    QVERIFY2(t <= 1100, qPrintable(QString::number(t)));
    QVERIFY(turned > 20);
    QCOMPARE(k.step(t + 16).dYaw, 0.f);
}

void TestKinetic::pressStopsAtOnce()
{
    KineticTurn k;
    k.press(0);
    k.move(10, 0, 5);
    QVERIFY(k.release(10));
    k.step(26);
    k.press(30);
    QVERIFY(!k.isSpinning());
    QCOMPARE(k.step(46).dYaw, 0.f);
    // The old drag's moves are gone: a release right away starts nothing.
    QVERIFY(!k.release(31));
}

void TestKinetic::longFramesAreCut()
{
    KineticTurn k;
    k.press(0);
    k.move(100, 100, 0);
    QVERIFY(k.release(0));
    const KineticTurn::Step s = k.step(1000);
    // At most one capped step, which cannot jump over a 30 degree pitch band.
    QVERIFY(s.dPitch < 30);
    QVERIFY(qAbs(s.dPitch - KineticTurn::MaxSpeed * KineticTurn::MaxStepMs / 1000) < 1e-3f);
}

SKYLOOM_TEST_MAIN(TestKinetic)
#include "tst_kinetic.moc"
