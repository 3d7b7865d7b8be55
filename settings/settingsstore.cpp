#include "settings/settingsstore.h"

#include "settings/inifile.h"

#include <QFile>

namespace {
const QString Section = QStringLiteral("Skyloom");
const QString FahrenheitKey = QStringLiteral("Farenheit");
const QString MphKey = QStringLiteral("MPH");
const QString IphKey = QStringLiteral("IPH");
const QString UtcKey = QStringLiteral("UTC");
const QString LastSphereKey = QStringLiteral("LastSphere");
const QString WindowSection = QStringLiteral("Window");
const QString GeometryKey = QStringLiteral("Geometry");
const QString DayNightSection = QStringLiteral("DayNight");
const QString RealisticKey = QStringLiteral("Realistic");

SaveResult write_failure(const QString &path)
{
    return {false, QStringLiteral("Unable to write to ") + path};
}
} // namespace

SettingsStore::SettingsStore(QString dataDir)
    : m_dataDir(std::move(dataDir))
{}

QString SettingsStore::settings_file_path() const
{
    return m_dataDir + QStringLiteral("Skyloom.ini");
}

UnitFlags SettingsStore::read_unit_flags() const
{
    const IniFile ini(settings_file_path());
    UnitFlags flags;
    flags.fahrenheit = ini.readBool(Section, FahrenheitKey, false);
    flags.mph = ini.readBool(Section, MphKey, false);
    flags.inchesPerHour = ini.readBool(Section, IphKey, false);
    flags.utc = ini.readBool(Section, UtcKey, false);
    return flags;
}

SaveResult SettingsStore::save_unit_flags(const UnitFlags &flags)
{
    IniFile ini(settings_file_path());
    const std::pair<QString, bool> keys[] = {{FahrenheitKey, flags.fahrenheit},
                                             {MphKey, flags.mph},
                                             {IphKey, flags.inchesPerHour},
                                             {UtcKey, flags.utc}};
    for (const auto &[key, value] : keys) {
        if (!ini.writeBool(Section, key, value))
            return write_failure(ini.path());
    }
    return {};
}

SaveResult SettingsStore::save_last_sphere(ViewKind view)
{
    IniFile ini(settings_file_path());
    if (!ini.writeInteger(Section, LastSphereKey, view))
        return write_failure(ini.path());
    return {};
}

ViewKind SettingsStore::read_last_sphere() const
{
    const QString path = settings_file_path();
    if (!QFile::exists(path))
        return View::Temperature;
    const int stored = IniFile(path).readInteger(Section, LastSphereKey, View::Temperature);
    return stored >= View::Temperature && stored <= View::DayNight ? stored : View::Temperature;
}

QByteArray SettingsStore::read_window_geometry() const
{
    const std::optional<QString> text =
        IniFile(settings_file_path()).readString(WindowSection, GeometryKey);
    return text ? QByteArray::fromBase64(text->toLatin1()) : QByteArray();
}

SaveResult SettingsStore::save_window_geometry(const QByteArray &geometry)
{
    IniFile ini(settings_file_path());
    if (!ini.writeString(WindowSection, GeometryKey, QString::fromLatin1(geometry.toBase64())))
        return write_failure(ini.path());
    return {};
}

bool SettingsStore::read_realistic_day_night() const
{
    return IniFile(settings_file_path()).readBool(DayNightSection, RealisticKey, false);
}

SaveResult SettingsStore::save_realistic_day_night(bool realistic)
{
    IniFile ini(settings_file_path());
    if (!ini.writeBool(DayNightSection, RealisticKey, realistic))
        return write_failure(ini.path());
    return {};
}
