#include "settings/settingsstore.h"

#include "app/appstate.h"
#include "settings/inifile.h"
#include "settings/settingsform.h"

#include <QFile>
#include <QRadioButton>

namespace {
const QString Section = QStringLiteral("Skyloom");
const QString FahrenheitKey = QStringLiteral("Farenheit");
const QString MphKey = QStringLiteral("MPH");
const QString IphKey = QStringLiteral("IPH");
const QString UtcKey = QStringLiteral("UTC");
const QString LastSphereKey = QStringLiteral("LastSphere");

SaveResult write_failure(const QString &path)
{
    return {false, QStringLiteral("Unable to write to ") + path};
}
} // namespace

QString settings_file_path() { return app().DataDir + QStringLiteral("Skyloom.ini"); }

void read_unit_flags()
{
    AppState &state = app();
    const IniFile ini(settings_file_path());
    state.UseFahrenheit = ini.readBool(Section, FahrenheitKey, false);
    state.UseMph = ini.readBool(Section, MphKey, false);
    state.UseInchesPerHour = ini.readBool(Section, IphKey, false);
    state.UseUtc = ini.readBool(Section, UtcKey, false);
    state.SettingsChanged = false;
}

SaveResult save_unit_flags()
{
    AppState &state = app();
    SaveResult result;
    if (state.SettingsChanged) {
        if (const TSettingsForm *form = state.SettingsForm) {
            state.UseFahrenheit = form->RadioFareheit()->isChecked();
            state.UseMph = form->RadioMPH()->isChecked();
            state.UseInchesPerHour = form->RadioIPH()->isChecked();
        }
        IniFile ini(settings_file_path());
        const std::pair<QString, bool> keys[] = {{FahrenheitKey, state.UseFahrenheit},
                                                 {MphKey, state.UseMph},
                                                 {IphKey, state.UseInchesPerHour},
                                                 {UtcKey, state.UseUtc}};
        for (const auto &[key, value] : keys) {
            if (!ini.writeBool(Section, key, value)) {
                result = write_failure(ini.path());
                break;
            }
        }
    }
    state.SettingsChanged = false;
    return result;
}

SaveResult save_last_sphere(int view)
{
    IniFile ini(settings_file_path());
    if (!ini.writeInteger(Section, LastSphereKey, view))
        return write_failure(ini.path());
    return {};
}

int read_last_sphere()
{
    const QString path = settings_file_path();
    if (!QFile::exists(path))
        return 0;
    return IniFile(path).readInteger(Section, LastSphereKey, 0);
}
