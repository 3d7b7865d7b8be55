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
// The characters the parser skips between entries, and those that end a line.
bool is_ini_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_ini_newline(char c) { return c == '\r' || c == '\n'; }

// The parser reads past a leading UTF-8 byte order mark, and a save writes it back.
qsizetype byte_order_mark_size(const QByteArray &text)
{
    return text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

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
    const QByteArray parsed = blank_broken_section_lines(data);
    if (ini.LoadData(parsed.constData(), size_t(parsed.size())) < 0)
        return Load::Unreadable;
    if (text)
        *text = parsed;
    return Load::Loaded;
}

// The lines as the parser sees them: it reads up to the first NUL and ends a line at CR, LF
// or CR LF.
QList<QByteArray> parser_lines(const QByteArray &text)
{
    const qsizetype nul = text.indexOf('\0');
    const qsizetype size = nul < 0 ? text.size() : nul;
    QList<QByteArray> lines;
    qsizetype start = byte_order_mark_size(text);
    for (qsizetype i = start; i < size; ++i) {
        if (!is_ini_newline(text[i]))
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start, size - start));
    return lines;
}

// The parser's own test: a comment starts with ';' or '#' after spaces and tabs; any other
// character (a vertical tab, say) starts a key.
bool is_comment(const QByteArray &line, bool *blank)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    *blank = i == line.size();
    return !*blank && (line[i] == ';' || line[i] == '#');
}

// The parser ties each comment to the entry below it and drops the comments after the last
// entry; this gives those back so they can be appended. Lines are split and tested exactly as
// the parser does, or a key it reads could be taken for a comment and written twice. The
// comment lines that open the file, with nothing between them, are the file's own comment,
// which a save writes at the top: a file of nothing else must not get them twice.
QByteArray trailing_comments(const QByteArray &text)
{
    const QList<QByteArray> lines = parser_lines(text);
    qsizetype fileComment = 0;
    while (fileComment < lines.size() &&
           (lines[fileComment].startsWith(';') || lines[fileComment].startsWith('#')))
        ++fileComment;
    qsizetype first = lines.size();
    for (qsizetype i = lines.size() - 1; i >= fileComment; --i) {
        bool blank = false;
        if (is_comment(lines[i], &blank))
            first = i;
        else if (!blank)
            break;
    }
    QByteArray block;
    for (qsizetype i = first; i < lines.size(); ++i)
        block += lines[i] + '\n';
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

QByteArray blank_broken_section_lines(QByteArray text)
{
    const qsizetype size = text.size();
    // The parser stops at the first NUL.
    auto at = [&](qsizetype i) { return i < size ? text.at(i) : '\0'; };
    qsizetype i = byte_order_mark_size(text);
    while (at(i) != '\0') {
        while (at(i) != '\0' && is_ini_space(at(i)))
            ++i;
        if (at(i) == '[') {
            const qsizetype open = i++;
            while (at(i) != '\0' && is_ini_space(at(i)))
                ++i;
            while (at(i) != '\0' && at(i) != ']' && !is_ini_newline(at(i)))
                ++i;
            if (at(i) != ']') {
                for (qsizetype k = open; k < i; ++k)
                    if (!is_ini_newline(text[k]))
                        text[k] = ' ';
                continue;
            }
        }
        // Every other entry, and a whole section line, ends with its line.
        while (at(i) != '\0' && !is_ini_newline(at(i)))
            ++i;
    }
    return text;
}

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
    // A first key whose name starts with the bytes of a byte order mark would be read back as
    // the mark and a shorter name; a line break first keeps the name whole.
    if (!ini.IsUnicode() && byte_order_mark_size(contents) != 0)
        contents.prepend('\n');
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
