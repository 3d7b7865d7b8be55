#include "product/productinfo.h"

#include "app/appstate.h"
#include "product/productcodes.h"
#include "product/verinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString with_separator(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}
} // namespace

DataDirSources platform_data_dir_sources()
{
    DataDirSources sources;
    sources.sharedDataLocation =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    sources.readSystemValue = [] {
        QSettings settings(QSettings::NativeFormat, QSettings::SystemScope,
                           QLatin1String(MakerFullName), QLatin1String(ProductName));
        return settings.value(app().VersionMajor + QLatin1String("/UserFilesPath")).toString();
    };
    sources.executableFolder = QCoreApplication::applicationDirPath();
    return sources;
}

QString resolve_data_dir(const QString &makerFullName, const QString &productName,
                         const QString &makerShortName, const DataDirSources &sources)
{
    Q_UNUSED(makerFullName) // names the machine-wide settings inside readSystemValue
    const QString exeFolder = with_separator(sources.executableFolder);
    const QString tail = makerShortName + QLatin1Char('/') + productName + QLatin1Char('/');
    QString candidate;
    if (!sources.sharedDataLocation.isEmpty()) {
        candidate = with_separator(sources.sharedDataLocation) + tail;
    } else {
        const QString value = sources.readSystemValue ? sources.readSystemValue() : QString();
        candidate = value.isEmpty() ? exeFolder : with_separator(value) + tail;
    }
    return QFileInfo(candidate).isDir() ? candidate : exeFolder;
}

QString resolve_data_dir(const QString &makerFullName, const QString &productName,
                         const QString &makerShortName)
{
    return resolve_data_dir(makerFullName, productName, makerShortName,
                            platform_data_dir_sources());
}

QString version_major(const QString &fileVersion) { return fileVersion.left(3); }

QString load_product_info()
{
    AppState &state = app();
    {
        TEPInfoExe info;
        info.FExeName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        info.Execute();
        state.FileVersion = info.FFileVersion;
    }
    state.VersionMajor = version_major(state.FileVersion);
    return resolve_data_dir(QLatin1String(MakerFullName), QLatin1String(ProductName),
                            QLatin1String(MakerShortName));
}
