#pragma once

#include <QString>

#include <functional>

// Where the data folder may come from; the real ones read the platform, tests hand in fakes.
struct DataDirSources
{
    QString sharedDataLocation;               // the platform's shared data folder, or empty
    std::function<QString()> readSystemValue; // machine-wide "UserFilesPath", or empty
    QString executableFolder;
};

DataDirSources platform_data_dir_sources();

// The data folder, with a trailing separator. Looked up, never created; the executable's
// folder when the candidate does not exist.
QString resolve_data_dir(const QString &makerFullName, const QString &productName,
                         const QString &makerShortName, const DataDirSources &sources);
QString resolve_data_dir(const QString &makerFullName, const QString &productName,
                         const QString &makerShortName);

// The first three characters of a file version ("1.0" of "1.0.7.0"), all of a shorter one.
QString version_major(const QString &fileVersion);

// Fills FileVersion and VersionMajor from the executable and returns the data folder.
QString load_product_info();
