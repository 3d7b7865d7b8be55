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

// The platform's sources; the machine-wide value is looked up under the major version.
DataDirSources platform_data_dir_sources(const QString &versionMajor);

// The data folder, with a trailing separator. Looked up, never created; the executable's
// folder when the candidate does not exist.
QString resolve_data_dir(const QString &makerFullName, const QString &productName,
                         const QString &makerShortName, const DataDirSources &sources);

// The first three characters of a file version ("1.0" of "1.0.7.0"), all of a shorter one.
QString version_major(const QString &fileVersion);

// What the program knows about itself and where it keeps its files.
struct ProductInfo
{
    QString fileVersion;
    QString versionMajor;
    QString buildDate; // the build's date in the locale's short format, four-digit year
    QString dataDir;   // with a trailing separator
};

// Reads the executable's version block and resolves the data folder.
ProductInfo load_product_info();

// A folder path with exactly one trailing separator added where it lacks one.
QString with_separator(const QString &folder);
