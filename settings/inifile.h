#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// An ini value as an integer: text longer than two characters that starts with 0x or 0X is
// hexadecimal (32 bits, so 0xFFFFFFFF is -1), anything else decimal. Text that is not a
// whole number in range gives defaultValue.
int ini_text_to_int(const QString &text, int defaultValue);

// The text as IniFile hands it to the ini parser. The parser skips a section line that has no
// ']' but keeps the text after its '[' as the name of the section, cut off wherever the next
// entry ends: the keys below would land in a section whose name holds line breaks, and a
// write would turn that name into more broken lines. Such lines, found as the parser finds
// them, become blanks, so the keys below stay in the section above as the parser means.
QByteArray blank_broken_section_lines(QByteArray text);

// One ini text file. Each call opens the file, reads or writes it and lets it go again.
// A write loads the whole file, changes one key and replaces the file in a single rename,
// so a crash or a full disk never leaves half a file. Only the key's own line changes (its
// repeats in the section are dropped); every other line, blank line, comment and space stays
// as it was. Section and key names compare without regard to case.
class IniFile
{
public:
    explicit IniFile(QString path)
        : m_path(std::move(path))
    {}

    const QString &path() const { return m_path; }

    // Empty when the file, the section or the key is missing or the file cannot be read.
    std::optional<QString> readString(const QString &section, const QString &key) const;
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;

    // False when the file could not be replaced, or exists but could not be read (it is
    // then left alone rather than replaced by a file that lacks its contents).
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);

private:
    QString m_path;
};
