#include "product/verinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray version_block_marker()
{
    return QByteArray("SKYLOOM") + QByteArray("-VERSIONINFO-") + QByteArray("BEGIN");
}

TEPInfoExe::TEPInfoExe(QObject *owner)
    : QObject(owner)
    , FLangId(QStringLiteral("0409"))
{}

void TEPInfoExe::Execute()
{
    QString path = FExeName;
    if (QFileInfo(path).isRelative())
        path = QDir(QCoreApplication::applicationDirPath()).filePath(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const qint64 size = file.size();
    const uchar *data = size > 0 ? file.map(0, size) : nullptr;
    if (!data)
        return;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), size);
    const qsizetype at = bytes.indexOf(version_block_marker());
    if (at < 0)
        return;
    // Entries follow as NUL-terminated "path=value" texts up to an empty one.
    QHash<QString, QString> values;
    qsizetype pos = at + version_block_marker().size() + 1;
    while (pos < bytes.size()) {
        const qsizetype end = bytes.indexOf('\0', pos);
        if (end <= pos)
            break;
        const QString entry = QString::fromUtf8(bytes.mid(pos, end - pos));
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        if (eq > 0)
            values.insert(entry.left(eq), entry.mid(eq + 1));
        pos = end + 1;
    }
    const QString prefix = QStringLiteral("StringFileInfo\\") + FLangId + QStringLiteral("04E4\\");
    auto query = [&](const char *key) { return values.value(prefix + QLatin1String(key)); };
    FCompanyName = query("CompanyName");
    FFileDescription = query("FileDescription");
    FFileVersion = query("FileVersion");
    FInternalName = query("InternalName");
    FLegalCopyright = query("LegalCopyright");
    FLegalTradeMarks = query("LegalTradeMarks");
    FProductName = query("ProductName");
    FComments = query("Comments");
    FLastCompiledTime = query("LastCompiledTime");
}
