#include "tst_settings.h"

#include "common/testsupport.h"

#include <QFile>

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_dataDir = m_dir->path() + QLatin1Char('/');
}

void TestSettings::cleanup() { m_dir.reset(); }

QString TestSettings::iniPath() const { return m_dir->filePath(QStringLiteral("Skyloom.ini")); }

void TestSettings::writeIni(const QByteArray &text) const
{
    QFile file(iniPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(text), text.size());
}

QByteArray TestSettings::readIni() const
{
    QFile file(iniPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

SKYLOOM_TEST_MAIN(TestSettings)
