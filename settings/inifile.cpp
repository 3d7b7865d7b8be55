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

// Multi-key, so a repeated key reads as its first value, as the write below folds it.
void configure(CSimpleIniA &ini) { ini.SetMultiKey(true); }

Load read_file(const QString &path, QByteArray &data)
{
    QFile file(path);
    if (!file.exists())
        return Load::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return Load::Unreadable;
    data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Load::Unreadable;
    return Load::Loaded;
}

// The characters the parser skips between entries, and those that end a line.
bool is_ini_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool is_ini_newline(char c) { return c == '\r' || c == '\n'; }

Load load(const QString &path, CSimpleIniA &ini)
{
    QByteArray data;
    const Load result = read_file(path, data);
    if (result != Load::Loaded)
        return result;
    data = blank_broken_section_lines(data);
    if (ini.LoadData(data.constData(), size_t(data.size())) < 0)
        return Load::Unreadable;
    return Load::Loaded;
}

constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Trimmed of the parser's white space only: a vertical tab or form feed, which
// QByteArray::trimmed() would also take, is part of a name to the parser.
QByteArray trim_spaces(const QByteArray &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && is_space(text[begin]))
        ++begin;
    while (end > begin && is_space(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Names compare as the parser compares them: ASCII letters without regard to case.
char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool same_name(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    return true;
}

// One line of the file, with its own line break ("\n", "\r\n", or none on the last line),
// read the way the parser reads it.
struct IniLine
{
    enum Kind { Other, Section, Entry };

    QByteArray text;
    QByteArray end;
    Kind kind = Other;
    QByteArray name;       // of the section or the key
    qsizetype valueAt = 0; // an entry's value: text.mid(valueAt, valueEnd - valueAt)
    qsizetype valueEnd = 0;
};

// A byte order mark counts only at the start of the file; elsewhere its bytes are text.
IniLine parse_line(QByteArray text, QByteArray end, bool fileStart = false)
{
    IniLine line;
    line.text = std::move(text);
    line.end = std::move(end);
    const QByteArray &t = line.text;
    qsizetype i = fileStart && t.startsWith(Utf8Mark) ? Utf8Mark.size() : 0;
    while (i < t.size() && is_space(t[i]))
        ++i;
    if (i == t.size() || t[i] == ';' || t[i] == '#')
        return line;
    if (t[i] == '[') {
        const qsizetype close = t.indexOf(']', i);
        if (close >= 0) {
            line.kind = IniLine::Section;
            line.name = trim_spaces(t.mid(i + 1, close - i - 1));
        }
        return line;
    }
    const qsizetype equals = t.indexOf('=', i);
    if (equals < 0)
        return line;
    line.name = trim_spaces(t.mid(i, equals - i));
    if (line.name.isEmpty())
        return line;
    line.kind = IniLine::Entry;
    line.valueAt = equals + 1;
    while (line.valueAt < t.size() && is_space(t[line.valueAt]))
        ++line.valueAt;
    line.valueEnd = t.size();
    while (line.valueEnd > line.valueAt && is_space(t[line.valueEnd - 1]))
        --line.valueEnd;
    return line;
}

// Lines end where the parser ends them: at LF, CR LF, or a lone CR.
QList<IniLine> split_lines(const QByteArray &data)
{
    QList<IniLine> lines;
    qsizetype from = 0;
    while (from < data.size()) {
        qsizetype textEnd = from;
        while (textEnd < data.size() && data[textEnd] != '\n' && data[textEnd] != '\r')
            ++textEnd;
        qsizetype next = textEnd;
        if (next < data.size() && data[next] == '\r')
            ++next;
        if (next < data.size() && data[next] == '\n' && (next == textEnd || data[textEnd] == '\r'))
            ++next;
        lines << parse_line(data.mid(from, textEnd - from), data.mid(textEnd, next - textEnd),
                            from == 0);
        from = next;
    }
    // The parser reads a '[' with nothing after it on to the next line that is not blank: a
    // ']' there closes a section whose name is that line up to it.
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray text = lines[i].text;
        if (i == 0 && text.startsWith(Utf8Mark))
            text.remove(0, Utf8Mark.size());
        if (trim_spaces(text) != "[")
            continue;
        qsizetype j = i + 1;
        while (j < lines.size() && trim_spaces(lines[j].text).isEmpty())
            ++j;
        if (j == lines.size())
            break;
        IniLine &next = lines[j];
        const QByteArray rest = trim_spaces(next.text);
        const qsizetype close = rest.indexOf(']');
        if (close >= 0) {
            next.kind = IniLine::Section;
            next.name = trim_spaces(rest.left(close));
        } else {
            next.kind = IniLine::Other;
        }
        i = j;
    }
    return lines;
}

// Sets one key and leaves every other byte of the file as it was: the key's first line in
// the section takes the value in place, keeping its spacing, and its repeats are dropped; a
// missing key goes after the last entry of the section, a missing section at the end.
QByteArray set_ini_value(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                         const QByteArray &value)
{
    // The parser reads up to the first NUL: what follows is kept, unread and unchanged.
    const qsizetype nul = file.indexOf('\0');
    const QByteArray data = nul < 0 ? file : file.left(nul);
    const QByteArray unread = nul < 0 ? QByteArray() : file.mid(nul);
    QList<IniLine> lines = split_lines(data);
    const qsizetype firstBreak = data.indexOf('\n');
    const QByteArray eol = firstBreak > 0 && data[firstBreak - 1] == '\r'
                               ? QByteArrayLiteral("\r\n")
                               : QByteArrayLiteral("\n");
    // Entries above the first header belong to the section without a name. A section that
    // appears twice is one section to the parser; new keys go into its first part.
    bool inSection = section.isEmpty();
    bool firstPart = inSection;
    bool partSeen = inSection;
    qsizetype found = -1;
    QList<qsizetype> repeats;
    qsizetype insertAt = inSection ? 0 : -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const IniLine &line = lines[i];
        if (line.kind == IniLine::Section) {
            inSection = same_name(line.name, section);
            firstPart = inSection && !partSeen;
            if (firstPart) {
                partSeen = true;
                insertAt = i + 1;
            }
        } else if (line.kind == IniLine::Entry && inSection) {
            if (same_name(line.name, key)) {
                if (found < 0)
                    found = i;
                else
                    repeats << i;
            }
            if (firstPart)
                insertAt = i + 1;
        }
    }

    if (found >= 0) {
        IniLine &line = lines[found];
        line.text = line.text.left(line.valueAt) + value + line.text.mid(line.valueEnd);
        for (qsizetype i = repeats.size() - 1; i >= 0; --i)
            lines.removeAt(repeats[i]);
    } else {
        QList<IniLine> added;
        if (insertAt < 0) {
            insertAt = lines.size();
            // The parser reads a '[' on to the next ']' across blank lines, so a new section
            // goes above a trailing '[' that never closed, not under it.
            const auto opens = [&lines](const IniLine &line) {
                QByteArray text = line.text;
                if (&line == &lines.first() && text.startsWith(Utf8Mark))
                    text.remove(0, Utf8Mark.size());
                text = trim_spaces(text);
                return text.isEmpty() || (line.kind == IniLine::Other && text.startsWith('['));
            };
            while (insertAt > 0 && opens(lines[insertAt - 1]))
                --insertAt;
            added << parse_line('[' + section + ']', eol);
        }
        added << parse_line(key + '=' + value, eol);
        if (insertAt > 0 && lines[insertAt - 1].end.isEmpty())
            lines[insertAt - 1].end = eol;
        if (insertAt == 0 && !lines.isEmpty() && lines[0].text.startsWith(Utf8Mark)) {
            lines[0].text.remove(0, Utf8Mark.size());
            added[0].text.prepend(Utf8Mark);
        }
        for (qsizetype i = added.size() - 1; i >= 0; --i)
            lines.insert(insertAt, added[i]);
    }
    QByteArray contents;
    contents.reserve(data.size() + key.size() + value.size() + section.size() + 8);
    for (const IniLine &line : lines)
        contents += line.text + line.end;
    return contents + unread;
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

// A section line without its ']' is skipped by the editor below, but the parser would take
// the text after '[' as a section name and put the keys below into it: blank such lines so
// both read the same file.
QByteArray blank_broken_section_lines(QByteArray text)
{
    const qsizetype size = text.size();
    // The parser stops at the first NUL.
    auto at = [&](qsizetype i) { return i < size ? text.at(i) : '\0'; };
    qsizetype i = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
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
    QByteArray original;
    if (read_file(m_path, original) == Load::Unreadable)
        return false;
    return replace_file(m_path,
                        set_ini_value(original, section.toUtf8(), key.toUtf8(), value.toUtf8()));
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
