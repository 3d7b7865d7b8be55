// The settings file in the data folder: read as the program reads it when it starts, then
// one key written as a save does. The write must leave a file that parses, holds the new
// value once, keeps every other key with its values in order, and repeats no comment;
// writing it again must repeat no line.
#include "fuzzsupport.h"

#include "settings/inifile.h"
#include "settings/settingsstore.h"

#include <QList>
#include <QTemporaryDir>

#include <map>
#include <utility>

// The parser as the program configures it, compiled here as it is there.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {
struct DataFolder
{
    QTemporaryDir dir;
    QString dataDir = dir.path() + QLatin1Char('/');
    QString path = SettingsStore(dataDir).settings_file_path();
};

DataFolder &folder()
{
    static DataFolder folder;
    return folder;
}

// (section, key) with names in lower case, as the parser compares them, to the key's values
// in file order.
using Entries = std::map<std::pair<QByteArray, QByteArray>, QList<QByteArray>>;

Entries parse(const QByteArray &text)
{
    CSimpleIniA ini;
    ini.SetMultiKey(true);
    ini.SetSpaces(false);
    FUZZ_CHECK(ini.LoadData(text.constData(), size_t(text.size())) >= 0);
    Entries entries;
    CSimpleIniA::TNamesDepend sections;
    ini.GetAllSections(sections);
    for (const CSimpleIniA::Entry &section : sections) {
        CSimpleIniA::TNamesDepend keys;
        ini.GetAllKeys(section.pItem, keys);
        for (const CSimpleIniA::Entry &key : keys) {
            QList<QByteArray> &values =
                entries[{QByteArray(section.pItem).toLower(), QByteArray(key.pItem).toLower()}];
            if (!values.isEmpty())
                continue;
            CSimpleIniA::TNamesDepend all;
            ini.GetAllValues(section.pItem, key.pItem, all);
            all.sort(CSimpleIniA::Entry::LoadOrder());
            for (const CSimpleIniA::Entry &value : all)
                values.append(QByteArray(value.pItem));
        }
    }
    return entries;
}

void print(const char *title, const Entries &entries)
{
    std::fprintf(stderr, "%s\n", title);
    for (const auto &[name, values] : entries) {
        std::fprintf(stderr, "  [%s] %s =", name.first.toPercentEncoding().constData(),
                     name.second.toPercentEncoding().constData());
        for (const QByteArray &value : values)
            std::fprintf(stderr, " '%s'", value.toPercentEncoding().constData());
        std::fprintf(stderr, "\n");
    }
}

// Without the byte order mark, which a change of blank lines can leave on a line of its own.
QList<QByteArray> non_blank_lines(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    QList<QByteArray> lines = text.split('\n');
    lines.removeIf([](const QByteArray &line) { return line.trimmed().isEmpty(); });
    return lines;
}

// How often each comment line occurs, as the parser finds them: lines end at CR, LF or CR LF,
// reading stops at a NUL, and a comment starts with ';' or '#' after spaces and tabs, which
// a save drops.
std::map<QByteArray, int> comment_lines(QByteArray text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    if (text.contains('\0'))
        text.truncate(text.indexOf('\0'));
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    std::map<QByteArray, int> comments;
    for (QByteArray line : text.split('\n')) {
        while (line.startsWith(' ') || line.startsWith('\t'))
            line.remove(0, 1);
        if (line.startsWith(';') || line.startsWith('#'))
            ++comments[line];
    }
    return comments;
}

const QString Section = QStringLiteral("Skyloom");
} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    silence_qt_messages();
    FUZZ_CHECK(folder().dir.isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    DataFolder &f = folder();
    const QByteArray text = input_bytes(data, size);
    write_file(f.path, text);
    // What the program reads: section lines without their ']' are no sections.
    const Entries before = parse(blank_broken_section_lines(text));

    SettingsStore store(f.dataDir);
    store.read_unit_flags();
    const ViewKind last = store.read_last_sphere();
    FUZZ_CHECK(last >= View::Temperature && last <= View::DayNight);
    const IniFile ini(f.path);
    for (const char *key : {"Farenheit", "MPH", "IPH", "UTC", "LastSphere"}) {
        const std::optional<QString> value = ini.readString(Section, QLatin1String(key));
        const auto found = before.find({"skyloom", QByteArray(key).toLower()});
        FUZZ_CHECK(value.has_value() == (found != before.end()));
        if (value)
            FUZZ_CHECK(*value == QString::fromUtf8(found->second.first()));
    }

    const SaveResult saved = store.save_last_sphere(View::Wind);
    const QByteArray written = read_file(f.path);
    if (!saved.ok) {
        FUZZ_CHECK(written == text);
        return 0;
    }
    FUZZ_CHECK(store.read_last_sphere() == View::Wind);
    Entries expected = before;
    expected[{"skyloom", "lastsphere"}] = {"2"};
    // The save keeps every other line as it was, broken section lines included.
    const Entries after = parse(blank_broken_section_lines(written));
    if (after != expected) {
        print("expected:", expected);
        print("after the write:", after);
        FUZZ_CHECK(after == expected);
    }
    // No comment is written more often than the file held it.
    const std::map<QByteArray, int> comments = comment_lines(text);
    for (const auto &[line, count] : comment_lines(written)) {
        const auto found = comments.find(line);
        FUZZ_CHECK(found != comments.end() && count <= found->second);
    }
    // The same save again repeats no line. A comment that the first save put at the top of
    // the file is read back as the file's own comment, which is followed by a blank line, so
    // blank lines may change.
    FUZZ_CHECK(store.save_last_sphere(View::Wind).ok);
    FUZZ_CHECK(non_blank_lines(read_file(f.path)) == non_blank_lines(written));
    return 0;
}
