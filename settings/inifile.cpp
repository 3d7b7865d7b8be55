#include "settings/inifile.h"

#include <QFile>
#include <QList>
#include <QSaveFile>

// Narrow UTF-8 strings only, and the parser's templates compiled here rather than taken from
// the shared library, which would pull in ICU.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {
enum class Load { Missing, Loaded, Unreadable };

// Multi-key so that repeated keys of other programs survive a write; values are stored
// exactly, without spaces around '=' and without quote handling.
void configure(CSimpleIniA &ini)
{
    ini.SetMultiKey(true);
    ini.SetSpaces(false);
}

Load load(const QString &path, CSimpleIniA &ini, QByteArray *text = nullptr)
{
    QFile file(path);
    if (!file.exists())
        return Load::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Load::Unreadable;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Load::Unreadable;
    if (ini.LoadData(data.constData(), size_t(data.size())) < 0)
        return Load::Unreadable;
    if (text)
        *text = data;
    return Load::Loaded;
}

bool is_comment(const QByteArray &trimmedLine)
{
    return trimmedLine.startsWith(';') || trimmedLine.startsWith('#');
}

// The parser ties each comment to the entry below it and drops the comments after the last
// entry; this gives those back so they can be appended.
QByteArray trailing_comments(const QByteArray &text)
{
    const QList<QByteArray> lines = text.split('\n');
    qsizetype first = lines.size();
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const QByteArray line = lines[i].trimmed();
        if (line.isEmpty())
            continue;
        if (!is_comment(line))
            break;
        first = i;
    }
    QByteArray block;
    for (qsizetype i = first; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        block += line + '\n';
    }
    while (block.endsWith("\n\n"))
        block.chop(1);
    return block;
}

bool replace_file(const QString &path, const QByteArray &contents)
{
    QSaveFile file(path);
    // A writable file in a folder that takes no new files (the program's own folder, say)
    // is written in place rather than not at all.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(contents) != contents.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

int ini_text_to_int(const QString &text, int defaultValue)
{
    bool ok = false;
    if (text.size() > 2 && text[0] == QLatin1Char('0') &&
        (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        const QStringView digits = QStringView(text).mid(2);
        // Only bare hex digits: no second sign or prefix after the 0x.
        for (QChar c : digits)
            if (!QStringView(u"0123456789abcdefABCDEF").contains(c))
                return defaultValue;
        const uint value = digits.toUInt(&ok, 16);
        return ok ? int(value) : defaultValue;
    }
    const int value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

std::optional<QString> IniFile::readString(const QString &section, const QString &key) const
{
    CSimpleIniA ini;
    configure(ini);
    if (load(m_path, ini) != Load::Loaded)
        return std::nullopt;
    const char *value =
        ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    if (!value)
        return std::nullopt;
    return QString::fromUtf8(value);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> text = readString(section, key);
    return text ? ini_text_to_int(*text, defaultValue) : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    CSimpleIniA ini;
    configure(ini);
    QByteArray original;
    if (load(m_path, ini, &original) == Load::Unreadable)
        return false;
    const QByteArray s = section.toUtf8(), k = key.toUtf8(), v = value.toUtf8();
    // Force-replace keeps the key where it was and folds any repeats of it into one.
    if (ini.SetValue(s.constData(), k.constData(), v.constData(), nullptr, true) < 0)
        return false;
    std::string text;
    if (ini.Save(text, true) < 0)
        return false;
    QByteArray contents = QByteArray::fromStdString(text);
    const QByteArray tail = trailing_comments(original);
    if (!tail.isEmpty())
        contents += '\n' + tail;
    return replace_file(m_path, contents);
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
