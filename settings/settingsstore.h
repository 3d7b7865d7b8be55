#pragma once

#include <QString>

// The outcome of a save; error is the text to show the user when ok is false.
struct SaveResult
{
    bool ok = true;
    QString error;
};

// The ini file that keeps the unit choices and the last view: DataDir + "Skyloom.ini".
QString settings_file_path();

// Loads UseFahrenheit, UseMph, UseInchesPerHour and UseUtc (false when missing) and clears
// SettingsChanged.
void read_unit_flags();

// When SettingsChanged is set, takes the unit choices from the settings window's radios
// (UseUtc stays as the time pair set it) and writes the four unit keys in order, stopping
// at the first key that cannot be written. Always clears SettingsChanged.
SaveResult save_unit_flags();

// Writes the view to show at the next start, whatever else changed.
SaveResult save_last_sphere(int view);

// The view stored by save_last_sphere, 0 without a file; not range-checked.
int read_last_sphere();
