#pragma once

#include "core/globetypes.h"
#include "core/unitflags.h"

#include <QByteArray>
#include <QString>

// The outcome of a save; error is the text to show the user when ok is false.
struct SaveResult
{
    bool ok = true;
    QString error;
};

// The ini file in the data folder that keeps the unit choices and the last view, section
// "Skyloom", keys "Farenheit", "MPH", "IPH", "UTC" and "LastSphere".
class SettingsStore
{
public:
    explicit SettingsStore(QString dataDir);

    // dataDir + "Skyloom.ini".
    QString settings_file_path() const;

    // Each flag false when its key is missing.
    UnitFlags read_unit_flags() const;
    // Writes the four unit keys in order, stopping at the first that cannot be written.
    SaveResult save_unit_flags(const UnitFlags &flags);

    // The view stored by save_last_sphere; Temperature without a file, and for any value
    // that names no view (0 to 5), so a damaged file cannot start the program blank.
    ViewKind read_last_sphere() const;
    SaveResult save_last_sphere(ViewKind view);

    // The main window's saved geometry, kept base64 in a section of its own ("Window",
    // key "Geometry") so the "Skyloom" section keeps its five keys. Empty when missing.
    QByteArray read_window_geometry() const;
    SaveResult save_window_geometry(const QByteArray &geometry);

    // Whether Day/Night shows the sun's true terminator rather than the fixed band, in a
    // section of its own ("DayNight", key "Realistic"); false when missing.
    bool read_realistic_day_night() const;
    SaveResult save_realistic_day_night(bool realistic);

private:
    QString m_dataDir;
};
